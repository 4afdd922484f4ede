// onMenu: the right-button menu switches the view and shows the chosen body's data.
#include "input/input.h"
#include "platform/platform.h"
#include "scene/scene.h"

#include <GL/freeglut.h>

namespace {

// The view each menu entry selects: the bodies in menu order have the views in the same order.
struct MenuView {
    MenuValue value;
    ViewMode view;
};

constexpr MenuView menuViews[] = {
    {MENU_SUN, VIEW_SUN},          {MENU_MERCURY, VIEW_MERCURY},     {MENU_VENUS, VIEW_VENUS},
    {MENU_EARTH, VIEW_EARTH_MOON}, {MENU_MARS, VIEW_MARS},           {MENU_JUPITER, VIEW_JUPITER},
    {MENU_SATURN, VIEW_SATURN},    {MENU_URANUS, VIEW_URANUS},       {MENU_NEPTUNE, VIEW_NEPTUNE},
    {MENU_PLUTO, VIEW_PLUTO},      {MENU_WHOLE_SYSTEM, VIEW_SYSTEM},
};
static_assert(rowsFollow(menuViews, &MenuView::value, MENU_FIRST_BODY, MENU_WHOLE_SYSTEM));

} // namespace

void onMenu(int value) {
    if (value >= MENU_FIRST_BODY && value <= MENU_WHOLE_SYSTEM) {
        sceneState.currentView = menuViews[value - MENU_FIRST_BODY].view;
        // Modal: the new view is drawn once the box is dismissed.
        if (const BodyInfo* info = bodyInfoForMenuValue(value))
            showMessageBox(MessageBoxKind::information, info->caption, info->text);
    }
    glutPostRedisplay();
}
