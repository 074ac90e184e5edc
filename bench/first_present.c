/* Preloaded into an SDL2 program by bench/startup.sh: at the program's first present (through a
 * renderer or straight to the window's surface) writes the wall-clock time in nanoseconds to the
 * file named by FIRST_PRESENT_FILE and ends the program at once, so that start-up to the first
 * frame is measured the same way for the game and for the peer. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static void note_first_present(void) {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const char *name = getenv("FIRST_PRESENT_FILE");
    FILE *file = name ? fopen(name, "w") : NULL;
    if (file) {
        fprintf(file, "%lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
        fclose(file);
    }
    _exit(0);
}

void SDL_RenderPresent(void *renderer) {
    void (*present)(void *) = (void (*)(void *))dlsym(RTLD_NEXT, "SDL_RenderPresent");
    present(renderer);
    note_first_present();
}

int SDL_UpdateWindowSurface(void *window) {
    int (*update)(void *) = (int (*)(void *))dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface");
    int result = update(window);
    note_first_present();
    return result;
}

int SDL_UpdateWindowSurfaceRects(void *window, const void *rects, int count) {
    int (*update)(void *, const void *, int) =
        (int (*)(void *, const void *, int))dlsym(RTLD_NEXT, "SDL_UpdateWindowSurfaceRects");
    int result = update(window, rects, count);
    note_first_present();
    return result;
}
