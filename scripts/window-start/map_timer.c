/* Starts a program under the X server of DISPLAY and prints the milliseconds from its start to
 * the mapping of its first top-level window, then the CPU milliseconds its threads had used by
 * then (from /proc, where the scheduler keeps them; other programs' load disturbs this figure
 * less than the wall time); the program is then ended. */
#include <X11/Xlib.h>
#include <dirent.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double NowMs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

/* The CPU time every thread of `pid` has had so far, in milliseconds; -1 where /proc lacks it. */
static double CpuMs(pid_t pid) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR* tasks = opendir(path);
    if (tasks == NULL) {
        return -1;
    }
    unsigned long long total = 0;
    int counted = 0;
    struct dirent* task;
    while ((task = readdir(tasks)) != NULL) {
        if (task->d_name[0] == '.') {
            continue;
        }
        char file[sizeof path + sizeof task->d_name + 16];
        snprintf(file, sizeof file, "%s/%s/schedstat", path, task->d_name);
        FILE* stat = fopen(file, "r");
        unsigned long long ns = 0;
        if (stat != NULL && fscanf(stat, "%llu", &ns) == 1) {
            total += ns;
            counted = 1;
        }
        if (stat != NULL) {
            fclose(stat);
        }
    }
    closedir(tasks);
    return counted ? total / 1e6 : -1;
}

int main(int argc, char* argv[]) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s program [arguments...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const double start = NowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    int result = 1;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect) {
            const double wall = NowMs() - start;
            kill(child, SIGSTOP); /* its CPU time is read as of the mapping */
            printf("%.1f %.1f\n", wall, CpuMs(child));
            result = 0;
            break;
        }
    }
    kill(child, SIGKILL); /* stopped at the mapping, so it is ended at once */
    waitpid(child, NULL, 0);
    XCloseDisplay(display);
    return result;
}
