// Linux backend: message boxes, as real dialog windows through SDL2.
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/platform.h"
#include "platform/seam.h"

namespace {

// SDL's X11 box draws with the locale that the environment names; Chinese
// only shows when that locale is UTF-8. Done once, before the first box.
void preferUtf8Locale() {
    static std::once_flag once;
    std::call_once(once, [] {
        const char* name = getenv("LC_ALL");
        if (!name || !*name) name = getenv("LC_CTYPE");
        if (!name || !*name) name = getenv("LANG");
        if (!name || (!strcasestr(name, "UTF-8") && !strcasestr(name, "utf8"))) setenv("LC_ALL", "C.UTF-8", 1);
    });
}

}  // namespace

int platformMessageBox(const char* text, const char* caption, int style, bool ownedByGameWindow) {
    if (MessageBoxHook hook = platformMessageBoxHook()) return hook(text, caption, style, ownedByGameWindow);
    preferUtf8Locale();

    SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, PLATFORM_BOX_IDOK, "确定"},
    };
    SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, PLATFORM_BOX_IDYES, "是"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, PLATFORM_BOX_IDNO, "否"},
    };
    const bool yesNo = style == PLATFORM_BOX_YESNO_QUESTION;
    SDL_MessageBoxData box{};
    box.flags = style == PLATFORM_BOX_ERROR ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    box.window = nullptr;
    box.title = caption;
    box.message = text;
    box.numbuttons = yesNo ? 2 : 1;
    box.buttons = yesNo ? yesNoButtons : okButton;

    int chosen = PLATFORM_BOX_FAILED;
    if (SDL_ShowMessageBox(&box, &chosen) != 0) return PLATFORM_BOX_FAILED;
    return chosen;
}
