#!/usr/bin/env bash
# Checks the Windows release as CI does, after scripts/test.sh has built both
# programs:
#   - kvupgrade.exe built again, from a copy of the sources in another folder
#     into another build folder, is byte-identical to ./build-win's;
#   - two unsigned releases give byte-identical zips;
#   - a release signed with a throwaway self-signed certificate made here
#     verifies with osslsigncode (that certificate trusted), holds exactly the
#     program, SHA256SUMS and the guide, its checksums match, and the signed
#     program passes the release tests under Wine (its version and packages
#     read back, --help, --version, a run's result file) and upgrades an
#     installation as the end-to-end tests check it.
set -euo pipefail
cd "$(dirname "$0")/.."
host_dir=${KV_BUILD_DIR:-build}
win_dir=${KV_WIN_BUILD_DIR:-build-win}
work=$(mktemp -d /tmp/kvcheck.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "check-release: $*" >&2; exit 1; }

echo "--- kvupgrade.exe built a second time, elsewhere"
mkdir -p "$work/src"
cp -r CMakeLists.txt cmake src app "$work/src/"
cmake -S "$work/src" -B "$work/build-win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_TESTS=OFF -DKV_HOST_KVBUNDLE="$PWD/$host_dir/app/kvbundle" >/dev/null
cmake --build "$work/build-win" -j "$(nproc)" --target kvupgrade >/dev/null
cmp "$win_dir/app/kvupgrade.exe" "$work/build-win/app/kvupgrade.exe" ||
  fail "two builds of one commit differ: $win_dir/app/kvupgrade.exe and a build in another folder"
echo "identical: $(sha256sum <"$win_dir/app/kvupgrade.exe" | cut -d' ' -f1)"
rm -rf "$work/src" "$work/build-win"

echo "--- two unsigned releases"
scripts/release.sh
zip="dist/kvupgrade-$("$host_dir/app/kvupgrade" --version)-win64.zip"
cp "$zip" "$work/first.zip"
scripts/release.sh
cmp "$work/first.zip" "$zip" || fail "two releases of one commit give different zips"

echo "--- a release signed with a throwaway certificate"
openssl rand -hex 16 >"$work/password"
openssl req -x509 -newkey rsa:3072 -sha256 -days 2 -nodes -subj "/CN=kvupgrade throwaway signer" \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/signer.pfx" \
  -passout "file:$work/password"
KV_SIGN_PFX="$work/signer.pfx" KV_SIGN_PASSWORD_FILE="$work/password" KV_SIGN_CAFILE="$work/cert.pem" \
  scripts/release.sh
unzip -q "$zip" -d "$work/zip"
[[ $(cd "$work/zip" && ls | sort | tr '\n' ' ') == "README-ru.txt SHA256SUMS kvupgrade.exe " ]] ||
  fail "the zip holds $(ls "$work/zip")"
(cd "$work/zip" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the zip's files"
(cd dist && sha256sum --quiet -c "$(basename "$zip").sha256") || fail "the zip's checksum does not match"
osslsigncode verify -CAfile "$work/cert.pem" -in "$work/zip/kvupgrade.exe" >"$work/verify.txt" 2>&1 ||
  { cat "$work/verify.txt"; fail "the signature does not verify"; }
grep -q "Signature verification: ok" "$work/verify.txt" || { cat "$work/verify.txt"; fail "no verified signature"; }
osslsigncode verify -in "$work/zip/kvupgrade.exe" >/dev/null 2>&1 && fail "verified without trusting the signer"
cmp -s "$work/zip/kvupgrade.exe" "$win_dir/app/kvupgrade.exe" && fail "the release's program is not signed"
for text in "Руководство администратора" "--result-file ФАЙЛ" "Коды завершения:" "КАК ВОССТАНОВИТЬ"; do
  grep -q -- "$text" "$work/zip/README-ru.txt" || fail "the guide lacks \"$text\""
done
grep -q $'\r$' "$work/zip/README-ru.txt" || fail "the guide's lines do not end in CR LF"

echo "--- the signed program under Wine: the release tests and the whole upgrade"
KV_TESTED_EXE="$work/zip/kvupgrade.exe" scripts/test-windows.sh -R 'win32_release|win32_upgrade'

echo "check-release: the release is reproducible, signed, verified and complete"
