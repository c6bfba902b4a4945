/* A stand-in libXrandr.so.2 for tests: a virtual X server has one output, a real machine several.
   The outputs it reports are read from the environment variable DUSK_XRANDR,
   "WxH+X+Y[,WxH+X+Y...]" in root-window coordinates, the first one the primary; each has one CRTC
   and one mode of its size. The rest of the interface answers that nothing can be changed. */
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define MAX_OUTPUTS 8
#define OUTPUT_ID(i) ((RROutput)(0x100 + (i)))
#define CRTC_ID(i) ((RRCrtc)(0x200 + (i)))
#define MODE_ID(i) ((RRMode)(0x300 + (i)))

typedef struct { int w, h, x, y; } Area;

static int Areas(Area *out) {
  const char *s = getenv("DUSK_XRANDR");
  int n = 0, used;
  while (s && n < MAX_OUTPUTS && sscanf(s, "%dx%d%d%d%n", &out[n].w, &out[n].h, &out[n].x, &out[n].y, &used) == 4) {
    n++;
    s += used;
    if (*s != ',') break;
    s++;
  }
  return n;
}

static int IndexOf(unsigned long id, unsigned long base) {
  Area a[MAX_OUTPUTS];
  const int n = Areas(a);
  return id >= base && id < base + (unsigned long)n ? (int)(id - base) : -1;
}

Bool XRRQueryExtension(Display *d, int *event_base, int *error_base) {
  (void)d;
  *event_base = 0;
  *error_base = 0;
  return True;
}

Status XRRQueryVersion(Display *d, int *major, int *minor) {
  (void)d;
  *major = 1;
  *minor = 5;
  return 1;
}

XRRScreenResources *XRRGetScreenResources(Display *d, Window w) {
  Area a[MAX_OUTPUTS];
  const int n = Areas(a);
  XRRScreenResources *r = calloc(1, sizeof *r);
  (void)d, (void)w;
  r->ncrtc = r->noutput = r->nmode = n;
  r->crtcs = calloc(MAX_OUTPUTS, sizeof *r->crtcs);
  r->outputs = calloc(MAX_OUTPUTS, sizeof *r->outputs);
  r->modes = calloc(MAX_OUTPUTS, sizeof *r->modes);
  for (int i = 0; i < n; i++) {
    r->crtcs[i] = CRTC_ID(i);
    r->outputs[i] = OUTPUT_ID(i);
    XRRModeInfo *m = &r->modes[i];
    m->id = MODE_ID(i);
    m->width = (unsigned)a[i].w;
    m->height = (unsigned)a[i].h;
    m->hTotal = (unsigned)a[i].w;
    m->vTotal = (unsigned)a[i].h;
    m->dotClock = (unsigned long)a[i].w * (unsigned long)a[i].h * 60;
  }
  return r;
}

XRRScreenResources *XRRGetScreenResourcesCurrent(Display *d, Window w) { return XRRGetScreenResources(d, w); }

void XRRFreeScreenResources(XRRScreenResources *r) {
  if (!r) return;
  free(r->crtcs);
  free(r->outputs);
  free(r->modes);
  free(r);
}

XRROutputInfo *XRRGetOutputInfo(Display *d, XRRScreenResources *r, RROutput output) {
  const int i = IndexOf(output, OUTPUT_ID(0));
  (void)d, (void)r;
  if (i < 0) return NULL;
  XRROutputInfo *o = calloc(1, sizeof *o);
  o->crtc = CRTC_ID(i);
  o->name = calloc(16, 1);
  o->nameLen = snprintf(o->name, 16, "DUSK-%d", i + 1);
  o->mm_width = 300;
  o->mm_height = 200;
  o->connection = RR_Connected;
  o->ncrtc = 1;
  o->crtcs = calloc(1, sizeof *o->crtcs);
  o->crtcs[0] = CRTC_ID(i);
  o->nmode = 1;
  o->npreferred = 1;
  o->modes = calloc(1, sizeof *o->modes);
  o->modes[0] = MODE_ID(i);
  return o;
}

void XRRFreeOutputInfo(XRROutputInfo *o) {
  if (!o) return;
  free(o->name);
  free(o->crtcs);
  free(o->modes);
  free(o);
}

XRRCrtcInfo *XRRGetCrtcInfo(Display *d, XRRScreenResources *r, RRCrtc crtc) {
  Area a[MAX_OUTPUTS];
  const int i = IndexOf(crtc, CRTC_ID(0));
  (void)d, (void)r;
  if (i < 0) return NULL;
  Areas(a);
  XRRCrtcInfo *c = calloc(1, sizeof *c);
  c->x = a[i].x;
  c->y = a[i].y;
  c->width = (unsigned)a[i].w;
  c->height = (unsigned)a[i].h;
  c->mode = MODE_ID(i);
  c->rotation = RR_Rotate_0;
  c->rotations = RR_Rotate_0;
  c->noutput = 1;
  c->outputs = calloc(1, sizeof *c->outputs);
  c->outputs[0] = OUTPUT_ID(i);
  return c;
}

void XRRFreeCrtcInfo(XRRCrtcInfo *c) {
  if (!c) return;
  free(c->outputs);
  free(c->possible);
  free(c);
}

RROutput XRRGetOutputPrimary(Display *d, Window w) {
  (void)d, (void)w;
  return OUTPUT_ID(0);
}

void XRRSelectInput(Display *d, Window w, int mask) { (void)d, (void)w, (void)mask; }

Atom *XRRListOutputProperties(Display *d, RROutput o, int *n) {
  (void)d, (void)o;
  *n = 0;
  return NULL;
}

XRRPropertyInfo *XRRQueryOutputProperty(Display *d, RROutput o, Atom p) {
  (void)d, (void)o, (void)p;
  return NULL;
}

int XRRGetOutputProperty(Display *d, RROutput o, Atom p, long off, long len, Bool del, Bool pending, Atom req,
                         Atom *type, int *format, unsigned long *n, unsigned long *after, unsigned char **prop) {
  (void)d, (void)o, (void)p, (void)off, (void)len, (void)del, (void)pending, (void)req;
  *type = None;
  *format = 0;
  *n = *after = 0;
  *prop = NULL;
  return 1; /* BadRequest: no such property */
}

Status XRRGetScreenSizeRange(Display *d, Window w, int *minW, int *minH, int *maxW, int *maxH) {
  (void)d, (void)w;
  *minW = *minH = 0;
  *maxW = *maxH = 16384;
  return 1;
}

Status XRRSetCrtcConfig(Display *d, XRRScreenResources *r, RRCrtc c, Time t, int x, int y, RRMode m, Rotation rot,
                        RROutput *o, int n) {
  (void)d, (void)r, (void)c, (void)t, (void)x, (void)y, (void)m, (void)rot, (void)o, (void)n;
  return 1; /* RRSetConfigInvalidTime: nothing changes */
}

void XRRSetScreenSize(Display *d, Window w, int width, int height, int mmW, int mmH) {
  (void)d, (void)w, (void)width, (void)height, (void)mmW, (void)mmH;
}

/* The old interface: no configurations. */
XRRScreenConfiguration *XRRGetScreenInfo(Display *d, Window w) {
  (void)d, (void)w;
  return NULL;
}
void XRRFreeScreenConfigInfo(XRRScreenConfiguration *c) { (void)c; }
SizeID XRRConfigCurrentConfiguration(XRRScreenConfiguration *c, Rotation *r) {
  (void)c;
  *r = RR_Rotate_0;
  return 0;
}
short XRRConfigCurrentRate(XRRScreenConfiguration *c) {
  (void)c;
  return 60;
}
short *XRRConfigRates(XRRScreenConfiguration *c, int size, int *n) {
  (void)c, (void)size;
  *n = 0;
  return NULL;
}
XRRScreenSize *XRRConfigSizes(XRRScreenConfiguration *c, int *n) {
  (void)c;
  *n = 0;
  return NULL;
}
Status XRRSetScreenConfigAndRate(Display *d, XRRScreenConfiguration *c, Drawable w, int size, Rotation r, short rate,
                                 Time t) {
  (void)d, (void)c, (void)w, (void)size, (void)r, (void)rate, (void)t;
  return 1;
}
