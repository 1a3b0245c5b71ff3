// OpenGL, GLU and GLUT as the engine uses them (freeglut's header brings all three).
#pragma once

#include <GL/freeglut.h>
