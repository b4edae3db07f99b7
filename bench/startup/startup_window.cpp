// The reference for the game's start-up (bench/startup.sh): an empty SDL2 window with an OpenGL
// 3.3 context presenting its first cleared frame. Prints the wall clock when that frame has been
// presented (seconds since 1970) and the resident memory in kB, as startup_game does.
//
//     startup_window WIDTH HEIGHT
#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>

#include "bench/startup/StartupReport.h"

int main(int argc, char** argv) {
    int const width = argc > 2 ? std::atoi(argv[1]) : 1280;
    int const height = argc > 2 ? std::atoi(argv[2]) : 720;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("start-up reference", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                          height, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!window) return 1;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) return 1;
    glViewport(0, 0, width, height);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(window);
    startup::reportFirstFrame(0.0);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
