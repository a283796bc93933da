#!/usr/bin/env bash
# Builds the organizer and starts it; arguments go to the program (a folder to import from).
set -euo pipefail
cd "$(dirname "$0")"
scripts/build.sh zentrova
exec "${BUILD_DIR:-build}/src/main/zentrova" "$@"
