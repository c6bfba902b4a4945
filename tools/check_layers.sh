#!/usr/bin/env bash
# Fails when a file of the core includes a layer above its own or beside it. Layers, bottom up:
# platform; wavemix (our mixer, beside the core); scene; saver and settings_dialog (siblings that
# do not see each other); startup; then the hosts, which may include anything but the windows'
# own code: a real host takes each window's finished frame.
set -u
cd "$(dirname "$0")/.."
declare -A rank=([platform]=1 [wavemix]=2 [scene]=3 [saver]=4 [settings_dialog]=4 [startup]=5 [hosts]=6)
bad=0
for layer in platform wavemix scene saver settings_dialog startup; do
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    target=$(sed -E 's/.*#[[:space:]]*include[[:space:]]*"([a-z_]+)\/.*/\1/' <<<"$rest")
    [ -n "${rank[$target]:-}" ] || continue
    [ "$target" = "$layer" ] && continue
    if [ "${rank[$target]}" -ge "${rank[$layer]}" ]; then
      echo "$file:$line: $layer/ includes $target/, which is not below it"
      bad=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/' "$layer" --include='*.h' --include='*.cpp' | grep -v '/tests/')
done
# The real hosts take the finished frame from start-up (they never place the scene themselves),
# read captions and ranges from the settings table, and stand on the host kit, never on the test
# stand-in or on each other. The mixer is a library of its own.
never() {  # folder, then the folders it must not include
  local from=$1
  shift
  for to in "$@"; do
    while IFS= read -r hit; do
      echo "$hit: $from includes $to/"
      bad=1
    done < <(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"$to/" "$from" --include='*.h' --include='*.cpp')
  done
}
never hosts/win32 saver hosts/sdl hosts/headless
never hosts/sdl saver settings_dialog hosts/headless hosts/win32
never hosts/kit saver settings_dialog startup scene hosts/headless hosts/sdl hosts/win32
never hosts/web saver settings_dialog hosts/headless hosts/sdl hosts/win32
never wavemix platform
# The core compiles for every host: no host's own headers (the web page's included).
while IFS= read -r hit; do
  echo "$hit: the core includes a host's header"
  bad=1
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(emscripten|windows\.h|SDL|X11/)' \
           platform scene saver settings_dialog startup --include='*.h' --include='*.cpp' | grep -v '/tests/')
[ $bad = 0 ] && echo "layers: every include points down"
exit $bad
