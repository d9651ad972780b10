#include "scene_model.h"

SceneModel scene;
