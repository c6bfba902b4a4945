/* A plain X window for the tests to hand to the saver: x_window X Y W H prints the window's id,
   keeps it mapped (filled with a solid colour) and ends when its standard input closes. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: x_window X Y W H\n");
    return 2;
  }
  Display* d = XOpenDisplay(NULL);
  if (!d) return 1;
  XSetWindowAttributes a;
  a.override_redirect = True;
  a.background_pixel = 0x336699;
  /* The test owns this window's input, as a screen-saver daemon owns its window's. */
  a.event_mask = ButtonPressMask | KeyPressMask | ExposureMask;
  Window w = XCreateWindow(d, DefaultRootWindow(d), atoi(argv[1]), atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), 0,
                           CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &a);
  XMapRaised(d, w);
  XSync(d, False);
  printf("%lu\n", (unsigned long)w);
  fflush(stdout);
  char buf[64];
  while (read(0, buf, sizeof buf) > 0) {
  }
  XDestroyWindow(d, w);
  XCloseDisplay(d);
  return 0;
}
