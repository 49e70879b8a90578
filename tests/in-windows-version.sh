#!/bin/bash
# Runs a command while the test prefix reports another Windows version
# (win95, win98 or winme), then sets Windows 95 back, whatever the command
# did. Every program that the command starts reads the version when it starts.
# Usage: in-windows-version.sh RUN_UNDER_WINE VERSION COMMAND...
run=$1 version=$2
shift 2
set_version() {
    bash "$run" reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null
}
set_version "$version" || exit 1
SQV_WINDOWS_VERSION=$version "$@"
status=$?
set_version win95 || status=1
exit $status
