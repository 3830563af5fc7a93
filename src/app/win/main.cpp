#include "app/win/Application.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    qv::Application app(GetCommandLineA());
    return app.run();
}
