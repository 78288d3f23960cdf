# Shared by the setup scripts: install_packages NAME PACKAGE... checks every
# package with dpkg first and touches apt only when something is missing.
# Without root it only reports what is missing (and fails). NAME prefixes
# the messages.
install_packages() {
  local name="$1"
  shift
  local missing=() p
  for p in "$@"; do
    [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)" = "install ok installed" ] || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    echo "$name: all $# packages are installed"
    return 0
  fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "$name: missing Debian packages: ${missing[*]}" >&2
    echo "$name: run as root, or: sudo apt-get install -y ${missing[*]}" >&2
    return 1
  fi
  echo "$name: installing ${missing[*]}"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}
