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
# The real hosts take the finished frame from start-up: they never place the scene themselves.
for host in hosts/win32 hosts/sdl; do
  for never in saver; do
    while IFS= read -r hit; do
      echo "$hit: $host includes $never/, which is the core's to use"
      bad=1
    done < <(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"$never/" "$host" --include='*.h' --include='*.cpp')
  done
done
[ $bad = 0 ] && echo "layers: every include points down"
exit $bad
