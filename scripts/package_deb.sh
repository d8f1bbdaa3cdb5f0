#!/usr/bin/env bash
# Makes the Debian package from a built release folder and checks it: lintian without errors, the
# AppStream description valid, and the files a desktop and a user need inside it.
#   bash scripts/package_deb.sh [BUILD]     (default build/release; prints the package's path)
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(cd "${1:-build/release}" && pwd)"

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -f "$build"/mirrorknit_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
package="$(ls "$build"/mirrorknit_*.deb)"

contents="$(dpkg-deb --contents "$package" | awk '{print $NF}')"
for f in usr/bin/mirrorknit usr/bin/mirrorknit-cli usr/libexec/mirrorknit/mirrorknit-cli-render \
         usr/share/applications/mirrorknit.desktop usr/share/mime/packages/mirrorknit-mime.xml \
         usr/share/icons/hicolor/scalable/apps/mirrorknit.svg \
         usr/share/icons/hicolor/48x48/apps/mirrorknit.png \
         usr/share/metainfo/org.mirrorknit.Mirrorknit.metainfo.xml \
         usr/share/man/man1/mirrorknit.1.gz usr/share/man/man1/mirrorknit-cli.1.gz \
         usr/share/doc/mirrorknit/copyright usr/share/doc/mirrorknit/changelog.gz; do
  grep -qx "./$f" <<<"$contents" || fail "$f is not in the package"
done

# The version is the project's, and the libraries come from dpkg-shlibdeps, not from a list.
version="$(sed -n 's/^project(Mirrorknit VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
[ "$(dpkg-deb -f "$package" Version)" = "$version" ] || fail "package version is not $version"
depends="$(dpkg-deb -f "$package" Depends)"
for library in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

if command -v lintian >/dev/null; then
  # Packages are usually checked as a user; as root lintian only adds a note about it.
  report="$(lintian "$package" 2>&1 | grep -v 'running with root privileges' || true)"
  if grep -q '^E:' <<<"$report"; then
    echo "$report" >&2
    fail "lintian reports errors"
  fi
  [ -z "$report" ] || echo "$report" >&2
else
  echo "lintian is not installed: the package is not checked by it" >&2
fi

if command -v appstreamcli >/dev/null; then
  unpacked="$(mktemp -d)"
  trap 'rm -rf "$unpacked"' EXIT
  dpkg-deb -x "$package" "$unpacked"
  appstreamcli validate --no-net \
    "$unpacked/usr/share/metainfo/org.mirrorknit.Mirrorknit.metainfo.xml" >/dev/null ||
    fail "the AppStream description is not valid"
  if command -v man >/dev/null; then
    for page in mirrorknit mirrorknit-cli; do
      man --warnings -l "$unpacked/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null |
        grep . && fail "the manual page $page has faults"
    done
  fi
fi
echo "$package"
