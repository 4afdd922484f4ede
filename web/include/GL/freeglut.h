// The browser build's GLUT header: the GLUT calls and constants the program uses, with GLUT's own
// values, as web/glut_web.cpp and web/menu_web.cpp define them for the browser.
#pragma once
#include <GL/gl.h>
#include <GL/glu.h>

#define GLUT_RGB 0x0000
#define GLUT_RGBA 0x0000
#define GLUT_SINGLE 0x0000
#define GLUT_DOUBLE 0x0002
#define GLUT_DEPTH 0x0010

#define GLUT_LEFT_BUTTON 0
#define GLUT_MIDDLE_BUTTON 1
#define GLUT_RIGHT_BUTTON 2
#define GLUT_DOWN 0
#define GLUT_UP 1

#ifdef __cplusplus
extern "C" {
#endif

void glutInit(int* argc, char** argv);
void glutInitDisplayMode(unsigned int mode);
void glutInitWindowSize(int width, int height);
void glutInitWindowPosition(int x, int y);
int glutCreateWindow(const char* title);
void glutDisplayFunc(void (*callback)(void));
void glutReshapeFunc(void (*callback)(int width, int height));
void glutMouseFunc(void (*callback)(int button, int state, int x, int y));
void glutMotionFunc(void (*callback)(int x, int y));
void glutKeyboardFunc(void (*callback)(unsigned char key, int x, int y));
void glutIdleFunc(void (*callback)(void));
void glutPostRedisplay(void);
void glutSwapBuffers(void);
void glutMainLoop(void);
int glutCreateMenu(void (*callback)(int value));
void glutAddMenuEntry(const char* label, int value);
void glutAttachMenu(int button);

#ifdef __cplusplus
}
#endif
