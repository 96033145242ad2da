# Sourced by run.sh and test.sh: installs the Debian packages a purpose needs when they are
# missing (directly when root; otherwise names them and stops).

# Native build and tests.
TARNWICK_PKGS_NATIVE="cmake ninja-build g++ googletest nlohmann-json3-dev"
# Windows cross build, with the MSI installer of each build.
TARNWICK_PKGS_WINDOWS="g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools wixl"
# Running the Windows programs: Wine, an X server for runs without a display, CJK fonts.
TARNWICK_PKGS_WINE="wine64 xvfb x11-utils fonts-wqy-microhei"
# The 32-bit programs under WoW64: Debian's 32-bit Wine beside the 64-bit one (needs the
# i386 architecture, which tarnwick_ensure_packages adds).
TARNWICK_PKGS_WINE32="wine32:i386"
# libFuzzer targets: clang and its sanitizer and fuzzer runtimes.
TARNWICK_PKGS_FUZZ="clang libclang-rt-14-dev"
# The end-to-end tier and the build checks.
TARNWICK_PKGS_TESTS="python3 file locales procps openssl osslsigncode"

tarnwick_ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them as root:  apt-get install ${missing[*]}" >&2
    exit 1
  fi
  if [[ " ${missing[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 architecture for the 32-bit Wine"
    dpkg --add-architecture i386
  fi
  echo "Installing Debian packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null
  apt-get install -y -q --no-install-recommends "${missing[@]}"
}
