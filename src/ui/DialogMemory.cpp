#include "ui/DialogMemory.h"

#include "ui/UiFont.h"

namespace tide {

GlobalMemory AllocateDialogTemplate(const DialogTemplateFields& fields) {
    const std::size_t size = DialogTemplateSize(fields.title);
    GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    GlobalLockGuard locked(memory.get());
    if (!locked.get() || !FillDialogTemplate(fields, DialogFaceName(),
                                             {static_cast<std::uint8_t*>(locked.get()), size})) {
        return {};
    }
    return memory;
}

} // namespace tide
