// onMenu: the right-button menu switches the view and shows the chosen body's data.
#include "input/input.h"
#include "platform/platform.h"
#include "scene/scene.h"

#include <GL/freeglut.h>

void onMenu(int value) {
    if (const BodyInfo* info = bodyInfoForMenuValue(value)) {
        sceneState.currentView = value - MENU_FIRST_BODY;
        // Modal: the new view is drawn once the box is dismissed.
        showMessageBox(MessageBoxKind::information, info->caption, info->text);
    } else if (value == MENU_WHOLE_SYSTEM) {
        sceneState.currentView = VIEW_SYSTEM;
    }
    glutPostRedisplay();
}
