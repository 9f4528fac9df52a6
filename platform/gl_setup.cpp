// The projection and initial GL state of a new window; see gl_setup.h.
#include "platform/gl_setup.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/projection.h"

namespace cw {

namespace {

// GL records at most one error per kind; more rounds than there are kinds means the
// context is gone and reports the same error for ever.
constexpr int kMaxStaleErrors = 16;

} // namespace

void setViewportAndProjection(int width, int height) {
    // Sizes below zero, which GL would reject and leave the old viewport in place, are
    // clamped like a zero height.
    if (height <= 0) {
        height = 1;
    }
    if (width < 0) {
        width = 0;
    }
    glViewport(0, 0, width, height);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, static_cast<double>(width) / static_cast<double>(height),
                   kNearPlane, kFarPlane);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void setInitialGLState() {
    // A driver may leave an error behind while it makes the context. It says nothing about
    // this state, and left in place it would be taken for one of the program's own.
    for (int i = 0; i < kMaxStaleErrors && glGetError() != GL_NO_ERROR; ++i) {
    }
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    // A blended colour is the incoming colour times its alpha, whatever lies behind.
    glBlendFunc(GL_SRC_ALPHA, GL_ZERO);
}

} // namespace cw
