#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the freedesktop validators over the desktop entry and the AppStream
# metainfo that the install puts into share/applications and share/metainfo.
#   validate_desktop_files.sh DESKTOP_FILE METAINFO_FILE
# Exits 77 (reported as skipped) when a validator is not installed
# (packages desktop-file-utils and appstream).
desktop=${1:?desktop file}
metainfo=${2:?metainfo file}

missing=""
command -v desktop-file-validate >/dev/null 2>&1 || missing="$missing desktop-file-validate"
command -v appstreamcli >/dev/null 2>&1 || missing="$missing appstreamcli"
if [ -n "$missing" ]; then
    echo "skipped: not installed:$missing"
    exit 77
fi

status=0
echo "desktop-file-validate $desktop"
desktop-file-validate "$desktop" || status=1
echo "appstreamcli validate --no-net $metainfo"
appstreamcli validate --no-net "$metainfo" || status=1

# The metainfo must point at the desktop entry it describes.
if ! grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo"; then
    echo "$metainfo: no <launchable type=\"desktop-id\">$(basename "$desktop")</launchable>"
    status=1
fi
exit $status
