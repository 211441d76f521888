# The real window as the install tests drive it: Home Page clicked with an
# xdg-open on PATH that notes what it was handed instead of starting a
# browser. What the window shows is read by the e2e helpers of scripts/lib.

# record_browser DIR: puts the noting xdg-open first on PATH; what it was
# handed lands in DIR/browser.log, one argument a line.
record_browser() {
  mkdir -p "$1/path"
  cat >"$1/path/xdg-open" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" >>"$1/browser.log"
SCRIPT
  chmod +x "$1/path/xdg-open"
  : >"$1/browser.log"
  BROWSER_LOG="$1/browser.log"
  export PATH="$1/path:$PATH"
}

# page_of_url URL: the file behind a file:// URL, its escapes undone.
page_of_url() {
  case "$1" in
    file:///*) ;;
    *) echo "not a file URL: $1"; return ;;
  esac
  local path=${1#file://}
  printf '%b\n' "${path//%/\\x}"
}

# clicks_home_page PROGRAM PAGE: the program, started on the screen, hands
# PAGE's URL to the browser once per click of Home Page.
clicks_home_page() {
  local program=$1 page pid
  page=$(realpath "$2")
  : >"$BROWSER_LOG"
  "$program" >>"$ARTIFACTS/program.log" 2>&1 &
  pid=$!
  find_main_window
  click 229 420
  wait_for 10 test -s "$BROWSER_LOG" || fail "Home Page started no browser"
  click 229 420
  wait_for 10 eval '[ "$(wc -l <"$BROWSER_LOG")" -ge 2 ]' || fail "the second click started no browser"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  local url
  while read -r url; do
    echo "Home Page handed $url"
    [ "$(page_of_url "$url")" = "$page" ] || fail "Home Page handed $url, not the URL of $page"
  done <"$BROWSER_LOG"
  [ "$(wc -l <"$BROWSER_LOG")" -eq 2 ] || fail "two clicks did not start the browser twice"
}
