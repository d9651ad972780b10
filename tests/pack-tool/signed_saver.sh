#!/usr/bin/env bash
# Signs a saver of one background colour (32, 64, 96) with the native morvane-pack and a
# throw-away certificate made here, and checks it with osslsigncode verify; the Windows tests
# then play it (tests/engine/windows/player_wine_test.cpp).
#   signed_saver.sh NATIVE-BIN PLAYER.SCR OUTPUT-DIR
set -euo pipefail
native=$1 player=$2 out=$3
rm -rf "$out"
mkdir -p "$out"
cd "$out"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Morvane test signer' \
  -keyout key.pem -out cert.pem 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -passout pass:night -out cert.pfx
printf 'night\n' > password.txt
printf '[Module]\nMemo1=Signed background\n[BackGround]\nColorR=32\nColorG=64\nColorB=96\n' > MORVANE.INI
"$native/morvane-pack" --settings MORVANE.INI --player "$player" --sign cert.pfx --password-file password.txt signed.scr
osslsigncode verify -CAfile cert.pem -in signed.scr > verify.txt 2>&1 || { cat verify.txt; exit 1; }
grep -q "Signature verification: ok" verify.txt
rm key.pem
echo "signed.scr: $(stat -c %s signed.scr) bytes, signature verified"
