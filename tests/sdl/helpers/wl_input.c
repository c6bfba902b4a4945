/* A keyboard and a mouse for the tests under a Wayland compositor that offers virtual ones
   (sway): wl_input connects to $WAYLAND_DISPLAY, makes a virtual keyboard with one ordinary
   keymap (evdev rules, pc105, us: sent once and never changed, as a real keyboard's) and a
   virtual pointer, prints "ready", then takes commands from its standard input, one a line, and
   answers each with "ok" once the compositor has handled it:
     key CODE             press and release the key of that evdev code (57 is the space bar)
     move DX DY           move the pointer by DX, DY pixels
     moveto X Y W H       move the pointer to X, Y of the W x H area of every output together
     click                press and release the left button where the pointer is
   It ends at the end of its input. */
#define _GNU_SOURCE
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

static struct wl_seat* seat;
static struct zwp_virtual_keyboard_manager_v1* keyboards;
static struct zwlr_virtual_pointer_manager_v1* pointers;

static void global(void* data, struct wl_registry* r, uint32_t name, const char* iface, uint32_t version) {
  (void)data, (void)version;
  if (!strcmp(iface, wl_seat_interface.name) && !seat)
    seat = wl_registry_bind(r, name, &wl_seat_interface, 1);
  else if (!strcmp(iface, zwp_virtual_keyboard_manager_v1_interface.name))
    keyboards = wl_registry_bind(r, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
  else if (!strcmp(iface, zwlr_virtual_pointer_manager_v1_interface.name))
    pointers = wl_registry_bind(r, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
}
static void global_remove(void* data, struct wl_registry* r, uint32_t name) { (void)data, (void)r, (void)name; }
static const struct wl_registry_listener registry_listener = {global, global_remove};

static uint32_t now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

static int fail(const char* what) {
  fprintf(stderr, "wl_input: %s\n", what);
  return 1;
}

/* The keymap as text in a file the compositor can map. */
static int send_keymap(struct zwp_virtual_keyboard_v1* kb) {
  struct xkb_context* ctx = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  const struct xkb_rule_names names = {"evdev", "pc105", "us", "", ""};
  struct xkb_keymap* map = ctx ? xkb_keymap_new_from_names(ctx, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : NULL;
  char* text = map ? xkb_keymap_get_as_string(map, XKB_KEYMAP_FORMAT_TEXT_V1) : NULL;
  if (!text) return 0;
  const size_t size = strlen(text) + 1;
  const int fd = memfd_create("keymap", MFD_CLOEXEC);
  const int ok = fd >= 0 && write(fd, text, size) == (ssize_t)size;
  if (ok) zwp_virtual_keyboard_v1_keymap(kb, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, (uint32_t)size);
  if (fd >= 0) close(fd);
  free(text);
  xkb_keymap_unref(map);
  xkb_context_unref(ctx);
  return ok;
}

int main(void) {
  struct wl_display* d = wl_display_connect(NULL);
  if (!d) return fail("cannot connect to the Wayland display");
  struct wl_registry* r = wl_display_get_registry(d);
  wl_registry_add_listener(r, &registry_listener, NULL);
  wl_display_roundtrip(d);
  if (!seat || !keyboards || !pointers) return fail("the compositor offers no seat, virtual keyboard or virtual pointer");
  struct zwp_virtual_keyboard_v1* kb = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(keyboards, seat);
  struct zwlr_virtual_pointer_v1* ptr = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(pointers, seat);
  if (!send_keymap(kb)) return fail("cannot make the keymap");
  if (wl_display_roundtrip(d) < 0) return fail("the compositor refused the devices");
  printf("ready\n");
  fflush(stdout);

  char line[128];
  while (fgets(line, sizeof line, stdin)) {
    int a, b, w, h;
    if (sscanf(line, "key %d", &a) == 1) {
      zwp_virtual_keyboard_v1_key(kb, now_ms(), (uint32_t)a, WL_KEYBOARD_KEY_STATE_PRESSED);
      wl_display_roundtrip(d);
      zwp_virtual_keyboard_v1_key(kb, now_ms(), (uint32_t)a, WL_KEYBOARD_KEY_STATE_RELEASED);
    } else if (sscanf(line, "moveto %d %d %d %d", &a, &b, &w, &h) == 4) {
      zwlr_virtual_pointer_v1_motion_absolute(ptr, now_ms(), (uint32_t)a, (uint32_t)b, (uint32_t)w, (uint32_t)h);
      zwlr_virtual_pointer_v1_frame(ptr);
    } else if (sscanf(line, "move %d %d", &a, &b) == 2) {
      zwlr_virtual_pointer_v1_motion(ptr, now_ms(), wl_fixed_from_int(a), wl_fixed_from_int(b));
      zwlr_virtual_pointer_v1_frame(ptr);
    } else if (!strncmp(line, "click", 5)) {
      zwlr_virtual_pointer_v1_button(ptr, now_ms(), BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
      zwlr_virtual_pointer_v1_frame(ptr);
      wl_display_roundtrip(d);
      zwlr_virtual_pointer_v1_button(ptr, now_ms(), BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
      zwlr_virtual_pointer_v1_frame(ptr);
    } else {
      fprintf(stderr, "wl_input: unknown command: %s", line);
      return 2;
    }
    if (wl_display_roundtrip(d) < 0) return fail("lost the compositor");
    printf("ok\n");
    fflush(stdout);
  }
  zwp_virtual_keyboard_v1_destroy(kb);
  zwlr_virtual_pointer_v1_destroy(ptr);
  wl_display_roundtrip(d);
  wl_display_disconnect(d);
  return 0;
}
