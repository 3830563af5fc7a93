// Wires the application and its status window; neither knows the other's type.
#include "app/win/Application.h"
#include "ui/win/StatusDialog.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    qv::Application app(GetCommandLineA());
    if (app.startUp()) {
        qv::StatusDialog window(app);
        app.attachView(&window);
        window.runModal(nullptr);
        app.attachView(nullptr);
        app.shutDown();
    }
    return 0;
}
