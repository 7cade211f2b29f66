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

INT_PTR ShowDialogTemplate(HINSTANCE instance, const DialogTemplateFields& fields, HWND parent,
                           DLGPROC procedure, LPARAM parameter, bool modal) {
    GlobalMemory memory = AllocateDialogTemplate(fields);
    GlobalLockGuard locked(memory.get());
    if (!locked.get()) {
        return -1;
    }
    const auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(locked.get());
    if (modal) {
        return ::DialogBoxIndirectParamW(instance, dialogTemplate, parent, procedure, parameter);
    }
    return reinterpret_cast<INT_PTR>(
        ::CreateDialogIndirectParamW(instance, dialogTemplate, parent, procedure, parameter));
}

} // namespace tide
