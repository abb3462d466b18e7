#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (run as root). Idempotent: a second run
# finds everything in place and returns at once.
set -euo pipefail

packages=(cmake make g++-mingw-w64-x86-64 mingw-w64-tools wine64 xvfb xauth locales
          fonts-ipafont-gothic googletest imagemagick python3 x11-utils libxml2-utils
          nlohmann-json3-dev rapidjson-dev fp-utils nsis g++-mingw-w64-i686 openssl ca-certificates)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
fi

# SQLite for the import plug-in: the npm registry's own tarball of the pinned package, fetched
# with Python (installed above; npm itself would bring a whole Node.js) and checked before use.
repo="$(cd "$(dirname "$0")/.." && pwd)"
. "$repo/cmake/sqlite-source.env"
sqlite_package="$repo/external/$SQLITE_PACKAGE-$SQLITE_PACKAGE_VERSION.tgz"
sqlite_checked() { echo "$SQLITE_PACKAGE_SHA256  $sqlite_package" | sha256sum --check --status 2>/dev/null; }
if ! sqlite_checked; then
    scratch="$(mktemp -d)"
    trap 'rm -rf "$scratch"' EXIT
    python3 - "$SQLITE_PACKAGE" "$SQLITE_PACKAGE_VERSION" "$scratch/$SQLITE_PACKAGE-$SQLITE_PACKAGE_VERSION.tgz" <<'PY'
import shutil, sys, urllib.request
name, version, target = sys.argv[1:]
url = f"https://registry.npmjs.org/{name}/-/{name}-{version}.tgz"
with urllib.request.urlopen(url, timeout=120) as answer, open(target, "wb") as out:
    shutil.copyfileobj(answer, out)
PY
    mkdir -p "$repo/external"
    mv "$scratch/$SQLITE_PACKAGE-$SQLITE_PACKAGE_VERSION.tgz" "$sqlite_package"
    if ! sqlite_checked; then
        rm -f "$sqlite_package"
        echo "setup.sh: $SQLITE_PACKAGE $SQLITE_PACKAGE_VERSION does not have the expected SHA-256; nothing kept." >&2
        exit 1
    fi
fi
