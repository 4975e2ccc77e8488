#!/bin/sh
# Stand-in for vswhere.exe. It answers with vswhere.json laid beside it by a test (nothing when
# there is none) and records its arguments, one per line, in vswhere.args. A number of seconds in
# vswhere.delay makes it answer late, like a vswhere that is slow to read the installer's records.
here=$(dirname "$0")
printf '%s\n' "$@" > "$here/vswhere.args"
if [ -f "$here/vswhere.delay" ]; then
    sleep "$(cat "$here/vswhere.delay")"
fi
if [ -f "$here/vswhere.json" ]; then
    cat "$here/vswhere.json"
else
    echo "[]"
fi
