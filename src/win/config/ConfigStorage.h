// Loading and saving the configuration record: "Tide.cfg" is the master copy,
// "TIDE_Configure" the shared memory the input method reads, and a change is
// announced with change notice 1 once both are written.
#pragma once

#include <windows.h>

#include "core/config/ConfigRecord.h"
#include "win/PathBuffer.h"

namespace tide {

// Fills `record` from the file (through the shared mapping). Creates the file
// from defaults on first use. When the shared storage cannot be opened the
// record gets the defaults without file names. Callers zero it first.
void LoadConfig(ConfigRecord& record);

enum SaveConfigResult : int {
    kSaveFailed = 0,         // the shared mapping could not be opened: nothing written, no notice
    kSaved = 1,              // mapping and file written, notice posted
    kSavedToMappingOnly = 2, // the input method has the record and the notice, but the file
                             // could not be written: the change will not survive a restart
};

// Writes the whole record into the mapping and the file ("RecordSize" 476 in
// the file), then posts change notice 1. Non-zero when the mapping took it.
int SaveConfig(ConfigRecord record);

// The defaults of every fixed field; with `withFileNames` also the word
// library ("Tide.imc", else the first "*.imc") and the skin ("Skin\Tide.ims",
// else the first "Skin\*.ims") found in InstallDir.
void SetDefaultConfig(ConfigRecord& record, int withFileNames);

// InstallDir joined with the current library's file name (only the name when
// the installation is not recorded).
void GetCurrentDictionaryPath(PathBuffer& buffer);

} // namespace tide
