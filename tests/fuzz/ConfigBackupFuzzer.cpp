// Any bytes as a settings backup file: the check reads only what it is given,
// and a backup it takes is those bytes' first record, of this version.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "core/config/ConfigRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tide::CheckedBackup backup = tide::CheckConfigBackup(std::span(data, size));
    if (backup.check == tide::BackupCheck::Ok &&
        (size < tide::kConfigRecordSize || backup.record.RecordSize != tide::kConfigRecordSize ||
         std::memcmp(&backup.record, data, tide::kConfigRecordSize) != 0)) {
        __builtin_trap();
    }
    return 0;
}
