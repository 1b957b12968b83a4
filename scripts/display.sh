# Sourced by the scripts that run Windows programs with windows: start_display gives Wine a virtual
# display of its own and a persistent wineserver for the prefix, and stops both when the script
# exits. Needs env.sh sourced first.

display_xvfb_pid=""
display_cleanup() {
  wineserver -k 2>/dev/null || true
  if [ -n "$display_xvfb_pid" ]; then kill "$display_xvfb_pid" 2>/dev/null || true; fi
}

start_display() {
  trap display_cleanup EXIT
  # Xvfb picks a free display number itself and writes it to the file.
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  display_xvfb_pid=$!
  for _ in $(seq 1 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$display_file")"
  rm -f "$display_file"
  wineserver -p 2>/dev/null || true # one may already serve this prefix
}
