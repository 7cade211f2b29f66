// The pages of the settings dialog, each made for its shell.
#pragma once

#include <memory>

#include "tools/settings/SettingsPage.h"

namespace tide {

std::unique_ptr<CSettingsPage> MakeGeneralPage(CConfigureDialog& shell);
std::unique_ptr<CSettingsPage> MakeInterfacePage(CConfigureDialog& shell);
std::unique_ptr<CSettingsPage> MakeKeysPage(CConfigureDialog& shell);
std::unique_ptr<CSettingsPage> MakeOutputPage(CConfigureDialog& shell);
std::unique_ptr<CSettingsPage> MakeSkinPage(CConfigureDialog& shell);
std::unique_ptr<CSettingsPage> MakeSoftKeyboardPage(CConfigureDialog& shell);

} // namespace tide
