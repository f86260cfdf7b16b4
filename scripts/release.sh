#!/usr/bin/env bash
# Makes the Windows release: dist/kvupgrade-<version>-win64.zip holding
# kvupgrade.exe, SHA256SUMS and the administrator's guide in Russian (its
# options and exit statuses are the program's own --help), and beside it the
# zip's own checksum, dist/kvupgrade-<version>-win64.zip.sha256.
#
# Signing: when KV_SIGN_PFX names a PKCS#12 file (certificate and private key)
# and KV_SIGN_PASSWORD_FILE a file holding its password, kvupgrade.exe is
# signed with osslsigncode (SHA-256) and the signature verified, against the
# system's CA certificates or those in KV_SIGN_CAFILE. KV_SIGN_TIMESTAMP_URL
# adds a time stamp from that server. Without KV_SIGN_PFX the release is made
# unsigned, and the script says so.
#
# Without signing, two runs on one commit give byte-identical zips: the files
# carry the commit's time and are stored in a fixed order without extra fields.
set -euo pipefail
cd "$(dirname "$0")/.."
host_dir=${KV_BUILD_DIR:-build}
win_dir=${KV_WIN_BUILD_DIR:-build-win}

if [[ -n ${KV_SIGN_PFX:-} ]]; then
  [[ -f $KV_SIGN_PFX ]] || { echo "release: KV_SIGN_PFX names no file: $KV_SIGN_PFX" >&2; exit 1; }
  [[ -n ${KV_SIGN_PASSWORD_FILE:-} && -f $KV_SIGN_PASSWORD_FILE ]] ||
    { echo "release: KV_SIGN_PFX is set, so KV_SIGN_PASSWORD_FILE must name the file with its password" >&2; exit 1; }
fi

scripts/install-deps.sh
[[ -f "$host_dir/CMakeCache.txt" ]] || cmake -S . -B "$host_dir" -DCMAKE_BUILD_TYPE=${KV_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$host_dir" -j "$(nproc)" --target kvupgrade kvbundle
scripts/build-windows.sh

version=$("$host_dir/app/kvupgrade" --version)
name="kvupgrade-$version-win64"
stage=$(mktemp -d /tmp/kvrelease.XXXXXX)
trap 'rm -rf "$stage"' EXIT
cp "$win_dir/app/kvupgrade.exe" "$stage/kvupgrade.exe"

if [[ -n ${KV_SIGN_PFX:-} ]]; then
  timestamp=()
  [[ -n ${KV_SIGN_TIMESTAMP_URL:-} ]] && timestamp=(-ts "$KV_SIGN_TIMESTAMP_URL")
  osslsigncode sign -pkcs12 "$KV_SIGN_PFX" -readpass "$KV_SIGN_PASSWORD_FILE" -h sha256 \
    -n "Модернизация" "${timestamp[@]}" -in "$stage/kvupgrade.exe" -out "$stage/signed.exe" >/dev/null
  osslsigncode verify -CAfile "${KV_SIGN_CAFILE:-/etc/ssl/certs/ca-certificates.crt}" \
    -in "$stage/signed.exe" >"$stage/verify.txt" 2>&1 ||
    { cat "$stage/verify.txt" >&2; echo "release: the signature does not verify" >&2; exit 1; }
  mv "$stage/signed.exe" "$stage/kvupgrade.exe"
  rm "$stage/verify.txt"
  signed="signed with $KV_SIGN_PFX"
else
  signed="NOT SIGNED (set KV_SIGN_PFX and KV_SIGN_PASSWORD_FILE to sign it)"
fi

# The guide as Windows' Notepad reads it: UTF-8 with a byte order mark, CR LF.
# An ASCII name: older Windows shows other names in a zip in the OEM code page.
guide="$stage/README-ru.txt"
{
  printf '\xef\xbb\xbf'
  while IFS= read -r line; do
    case $line in
      @HELP@) "$host_dir/app/kvupgrade" --help ;;
      *) printf '%s\n' "${line//@VERSION@/$version}" ;;
    esac
  done <docs/admin-guide-ru.txt
} | sed 's/$/\r/' >"$guide"

files=(kvupgrade.exe README-ru.txt)
(cd "$stage" && sha256sum "${files[@]}" >SHA256SUMS)
files+=(SHA256SUMS)

# Reproducible: the commit's time on every file, UTC, a fixed order, no extra fields.
epoch=$(git log -1 --format=%ct 2>/dev/null || echo 946684800)
for f in "${files[@]}"; do touch -d "@$epoch" "$stage/$f"; done
mkdir -p dist
rm -f "dist/$name.zip.part"
(cd "$stage" && TZ=UTC zip -X -D -q "$OLDPWD/dist/$name.zip.part" "${files[@]}")
mv "dist/$name.zip.part" "dist/$name.zip"
(cd dist && sha256sum "$name.zip" >"$name.zip.sha256.part" && mv "$name.zip.sha256.part" "$name.zip.sha256")

echo "release: dist/$name.zip"
echo "release: kvupgrade.exe $version, $signed"
sed 's/^/release:   /' "$stage/SHA256SUMS"
