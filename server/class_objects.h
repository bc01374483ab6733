// The library's classes as the in-process server lists them: one function per class
// object, each in its own file (kalendo_class.cpp, input_numerico_class.cpp), gathered
// by exports.cpp. A new class of the library is a new file and one line there.
#pragma once

#include "frame/com/inproc_server.h"

namespace zekalendo {

// The library's module, which every object of the library holds while it lives.
ze::com::ServerModule& Module();

ze::com::ServerClass KalendoClass();
ze::com::ServerClass InputNumericoClass();

}  // namespace zekalendo
