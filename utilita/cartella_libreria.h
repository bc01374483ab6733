// The library's own location: the folder of the file that holds zeUtilita's code (the
// component library, whichever program loaded it) and that file's name without its
// extension, the name of its log.
#pragma once

#include "frame/automation/string.h"

namespace zekalendo {

struct CartellaLibreria {
  // Without a trailing separator, except at a drive root ("C:\"); empty when the
  // platform does not tell.
  ze::String cartella;
  // "zeKalendo" for libzeKalendo.so.1 (and for zeKalendo.dll).
  ze::String nome;
};

CartellaLibreria LaCartellaLibreria();

}  // namespace zekalendo
