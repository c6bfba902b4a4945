/* A stand-in libXinerama.so.1 for tests: the screens it reports are read from the environment
   variable DUSK_XINERAMA, "WxH+X+Y[,WxH+X+Y...]" in root-window coordinates, the first one the
   primary. Xvfb's own Xinerama puts every screen at (0, 0). */
#include <X11/Xlib.h>
#include <X11/extensions/Xinerama.h>
#include <stdio.h>
#include <stdlib.h>

Bool XineramaQueryExtension(Display *d, int *event_base, int *error_base) {
  (void)d;
  *event_base = 0;
  *error_base = 0;
  return True;
}

Status XineramaQueryVersion(Display *d, int *major, int *minor) {
  (void)d;
  *major = 1;
  *minor = 1;
  return 1;
}

Bool XineramaIsActive(Display *d) {
  (void)d;
  return True;
}

XineramaScreenInfo *XineramaQueryScreens(Display *d, int *number) {
  const char *s = getenv("DUSK_XINERAMA");
  XineramaScreenInfo *screens = calloc(16, sizeof *screens);
  int n = 0, w, h, x, y, used;
  (void)d;
  while (screens && s && n < 16 && sscanf(s, "%dx%d%d%d%n", &w, &h, &x, &y, &used) == 4) {
    screens[n].screen_number = n;
    screens[n].x_org = (short)x;
    screens[n].y_org = (short)y;
    screens[n].width = (short)w;
    screens[n].height = (short)h;
    n++;
    s += used;
    if (*s != ',') break;
    s++;
  }
  *number = n;
  return screens;
}
