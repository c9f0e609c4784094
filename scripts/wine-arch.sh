# Sourced by the scripts that run Windows programs under Wine. Sets WINEARCH
# from QUARENT_WINE_ARCH (win32, the default, or win64) and defines `wine` as
# Wine's loader for that architecture.
#
# Debian's /usr/bin/wine always starts the 32-bit loader when wine32 is
# installed, and that loader cannot start at all on a kernel without 32-bit
# support; a 64-bit prefix is driven through the 64-bit loader, which hands
# 32-bit programs to the 32-bit one itself where the machine can run them.
QUARENT_WINE_ARCH=${QUARENT_WINE_ARCH:-win32}
export QUARENT_WINE_ARCH WINEARCH=$QUARENT_WINE_ARCH
if [ "$QUARENT_WINE_ARCH" = win64 ]; then
  wine_loader=/usr/lib/wine/wine64
else
  wine_loader=/usr/lib/wine/wine
fi

wine() { "$wine_loader" "$@"; }
# Debian's winepath goes through /usr/bin/wine too.
winepath() { "$wine_loader" winepath "$@"; }

# True when this machine can run 32-bit programs: Linux ones, and so Wine's
# 32-bit loader and every 32-bit Windows program.
can_run_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# Ends the calling script with the code ctest reports as "skipped" when the
# machine cannot run 32-bit programs and what follows needs them.
skip_without_32bit() {
  if ! can_run_32bit; then
    echo "skipped: this machine cannot run 32-bit programs (its kernel refuses i386 executables), $1"
    exit 77
  fi
}
