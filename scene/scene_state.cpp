// The one program-wide state record, initialised before main runs and never reset.
#include "scene/scene.h"

SceneState sceneState;
