#!/bin/sh
# Desktops that honour media autorun offer to run this file when the medium is mounted (after
# asking the user). It starts the menu through the launcher beside it.
medium=$(CDPATH= cd -- "$(dirname -- "$0")" && pwd -P) || exit 2
exec /bin/sh "$medium/lumplayer" "$@"
