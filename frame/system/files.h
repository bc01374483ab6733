// Files, folders and the module's own location, as the components need them.
//
// Paths at this interface are Windows form ("C:\dati\file.log"): NativePath
// (native_path.h) maps them to the native form at the OS boundary, and WindowsPath maps
// back ("/opt/x" is "C:\opt\x"; with D: mapped to /srv/dati, "/srv/dati/a" is
// "D:\a"). A relative path stays relative to the process's current folder.
//
// The operations go through a FileService. The default one calls the OS; a test
// installs one of its own (usually derived from DefaultFileService with one method
// made to fail) to reach the callers' failure paths. Every operation reports failure
// by its result and never throws.
#pragma once

#include <string>
#include <string_view>

#include "frame/automation/string.h"
#include "frame/system/native_path.h"

namespace ze::system {

String WindowsPath(std::string_view native_path);

class FileService {
 public:
  virtual ~FileService() = default;
  // The file of the module (program or shared library) that holds `address`, Windows
  // form; empty when the platform does not tell.
  virtual String ModuleFile(const void* address) = 0;
  // The folder of the current user's data ($XDG_DATA_HOME, else ~/.local/share),
  // Windows form without a trailing separator; empty when there is none.
  virtual String UserDataFolder() = 0;
  // Whether the process may create files in `folder`.
  virtual bool IsFolderWritable(const String& folder) = 0;
  // Makes the drive of `path` current; false when `path` names no drive.
  virtual bool ChangeDrive(const String& path) = 0;
  virtual bool ChangeDirectory(const String& folder) = 0;
  virtual bool DeleteFile(const String& path) = 0;
  // Appends `bytes` to the file (created when absent) with one write to a file opened
  // for appending, so that lines of two processes never mix; false unless all of it
  // was written and the file closed.
  virtual bool Append(const String& path, std::string_view bytes) = 0;
};

class DefaultFileService : public FileService {
 public:
  String ModuleFile(const void* address) override;
  String UserDataFolder() override;
  bool IsFolderWritable(const String& folder) override;
  bool ChangeDrive(const String& path) override;
  bool ChangeDirectory(const String& folder) override;
  bool DeleteFile(const String& path) override;
  bool Append(const String& path, std::string_view bytes) override;
};

// The service in force.
FileService& Files();
// Installs `service` (not owned; nullptr restores the default).
void InstallFileService(FileService* service);

}  // namespace ze::system
