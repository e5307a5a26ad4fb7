#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole test suite again, built with AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer (CMake preset "asan", in
# build-asan/). Any report fails the test that made it; the suppressions the
# preset names live in tests/sanitizers/.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan
