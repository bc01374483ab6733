#include "utilita/cartella_libreria.h"

#include "frame/system/files.h"

namespace zekalendo {

CartellaLibreria LaCartellaLibreria() {
  // Any address inside this file names the module that holds it.
  const ze::String file =
      ze::system::Files().ModuleFile(reinterpret_cast<const void*>(&LaCartellaLibreria));
  CartellaLibreria where;
  const std::size_t sep = file.find_last_of(u"\\/");
  if (sep == ze::String::npos) return where;
  // A drive root keeps its separator: "C:\" is a folder, "C:" is not.
  where.cartella = file.substr(0, sep == 2 && file[1] == u':' ? sep + 1 : sep);
  ze::String name = file.substr(sep + 1);
  // A shared library's file is "lib" + name + ".so" and maybe a version
  // (libzeKalendo.so.1): its name is what lies between.
  if (const std::size_t so = name.find(u".so");
      so != ze::String::npos && name.starts_with(u"lib")) {
    name = name.substr(3, so - 3);
  } else if (const std::size_t point = name.find_last_of(u'.');
             point != ze::String::npos && point > 0) {
    name.resize(point);
  }
  where.nome = std::move(name);
  return where;
}

}  // namespace zekalendo
