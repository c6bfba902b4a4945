#!/usr/bin/env bash
# The preview boxes of the two creature pages: before any click each shows the moonlit default
# picture, a preview button puts its creature into the box of its page, and the box then moves
# from tick to tick while nothing outside it changes.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/helpers/config_lib.sh"

dusk_install_data
dusk_settings
dusk_config_start

# Pixels in a region of a picture that are not black.
lit_pixels() {  # picture WxH+X+Y
  /usr/bin/convert "$1" -crop "$2" +repage -colorspace gray -threshold 0 -format '%[fx:int(mean*w*h+0.5)]' info:
}

# Waits until the box ($inside) of a screenshot has more than $2 and fewer than $3 lit pixels;
# the screenshot in $WORK/lit.png, the count in $lit.
wait_lit() {
  local i
  for ((i = 0; i < 50; i++)); do
    dusk_shot "$WORK/lit.png"
    lit=$(lit_pixels "$WORK/lit.png" "$inside")
    [ "$lit" -gt "$2" ] && [ "$lit" -lt "$3" ] && return 0
    sleep 0.2
  done
  dusk_fail "page $page: $1 lights $lit pixels of the box"
}

# The picture button of the row whose check box reads $1: on its line, to the right of it.
button_of() {
  local top left
  read -r left top < <(dusk_config_line "$1" | cut -f6,7)
  awk -F'\t' -v t="$top" -v l="$left" 'NF >= 10 && $2 == "DuskhollowPictureButton" && $7 == t && $6 > l {
    if (!found || $6 < best) { best = $6; line = $0; found = 1 } } END { print line }' "$WORK/probe.txt"
}

for page in 0 1; do
  creature=("Vampire Bats" "FireFlies")
  creature=${creature[page]}
  dusk_config_page "$page"
  box=$(awk -F'\t' 'NF >= 10 && $2 == "DuskhollowPreviewBox" && $3 == 1 { print; exit }' "$WORK/probe.txt")
  [ -n "$box" ] || dusk_fail "no preview box on page $page"
  read -r l t w h < <(cut -f6-9 <<<"$box")
  # Inside the sunken border of two pixels.
  inside="$((w - 4))x$((h - 4))+$((CLIENT_X + l + 2))+$((CLIENT_Y + t + 2))"
  dusk_config_mouse_away
  # The default picture, once the first ticks have drawn it, lights most of the box's middle;
  # one creature lights far less.
  wait_lit "the default preview" 8000 999999
  dusk_config_click_line "$(button_of "$creature")"
  dusk_config_mouse_away
  wait_lit "'$creature'" 20 6000
  cp "$WORK/lit.png" "$WORK/a.png"
  dusk_keep_picture "$WORK/a.png" "page-$page"
  in_box=0
  for ((i = 0; i < 50 && in_box <= 20; i++)); do
    sleep 0.2
    dusk_shot "$WORK/b.png"
    in_box=$(dusk_diff_count "$WORK/a.png" "$WORK/b.png" "$inside")
  done
  [ "$in_box" -gt 20 ] || dusk_fail "page $page: the '$creature' preview does not move"
  everywhere=$(dusk_diff_count "$WORK/a.png" "$WORK/b.png")
  [ "$everywhere" = "$in_box" ] || dusk_fail "page $page: $((everywhere - in_box)) pixels changed outside the box"
  dusk_note "ok: page $page: '$creature' in the box ($lit lit pixels), moving ($in_box pixels changed)"
done

dusk_config_click Cancel
dusk_wait_exit "$SCR_PID" 60 || dusk_fail "the dialog did not end on Cancel"
