// The reference for the game's start-up (bench/startup.sh): an empty SDL2 window with an OpenGL
// 3.3 context, full screen at the display's size as the game starts without a settings file,
// presenting cleared frames at the display's rate until it is closed (startup_watch ends it).
//
//     startup_window
#include <GL/gl.h>
#include <SDL.h>

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 1;
    SDL_Window* window = SDL_CreateWindow("start-up reference", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, mode.w,
                                          mode.h, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_FULLSCREEN);
    if (!window) return 1;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) return 1;
    SDL_GL_SetSwapInterval(1);
    Uint32 const frameMs = 1000 / static_cast<Uint32>(mode.refresh_rate > 0 ? mode.refresh_rate : 60);
    glViewport(0, 0, mode.w, mode.h);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    for (bool open = true; open;) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            if (event.type == SDL_QUIT) open = false;
        Uint32 const start = SDL_GetTicks();
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
        Uint32 const spent = SDL_GetTicks() - start;
        if (spent < frameMs) SDL_Delay(frameMs - spent);  // no vertical sync on a virtual screen
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
