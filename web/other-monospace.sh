#!/bin/sh
# Writes a fontconfig file to $1 that takes the system's configuration and
# puts another monospace family in front of the one `monospace` means here,
# so that the page can be tried as on a machine with other fonts. Prints the
# family it chose; fails when the machine has no second one.
set -eu
[ $# -eq 1 ] || { echo "usage: other-monospace.sh FONTS.CONF" >&2; exit 2; }
default=$(fc-match -f '%{family[0]}' monospace)
other=
for family in "DejaVu Sans Mono" "Noto Sans Mono" "Noto Mono" "Liberation Mono"; do
  [ "$family" = "$default" ] && continue
  if fc-list -q "$family"; then other=$family; break; fi
done
[ -n "$other" ] || { echo "other-monospace.sh: no monospace family besides $default" >&2; exit 1; }
# A preferred family goes in front of the ones the system's rules add later.
cat >"$1" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <alias binding="strong">
    <family>monospace</family>
    <prefer><family>$other</family></prefer>
  </alias>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
</fontconfig>
CONF
chosen=$(FONTCONFIG_FILE=$1 fc-match -f '%{family[0]}' monospace)
[ "$chosen" = "$other" ] || { echo "other-monospace.sh: monospace is still $chosen" >&2; exit 1; }
echo "$other"
