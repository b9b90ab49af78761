#!/bin/sh
# Desktops that honour media autorun offer to run this file when the medium is mounted (after
# asking the user). It starts the menu through the launcher beside it: the folder's name is
# kept exactly, trailing line breaks too (see the launcher).
here=$(dirname -- "$0" && echo x) || exit 2
here=${here%x}
here=${here%?}
case $here in
  /*) ;;
  *) here=./$here ;;
esac
medium=$(cd -- "$here" && pwd -P && echo x) || exit 2
medium=${medium%x}
medium=${medium%?}
exec /bin/sh "$medium/lumplayer" "$@"
