#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The processes of a test run, one pid a line. A run marks everything it
# starts with a variable in the environment (NAME=VALUE, unique to the run):
# every process it starts inherits it, also those that leave the process
# tree (a forking daemon, a service a bus activates), while the processes of
# other runs on the same machine, and of other chroots, carry none or
# another. Not listed: this script, its callers, and what it starts itself.
# Usage: marked.sh NAME=VALUE
set -uo pipefail
mark=$1
unset "${mark%%=*}"
found=$(grep -lzx -F -- "$mark" /proc/[0-9]*/environ 2>/dev/null)
# Taken after: a process found that is not in it has ended.
declare -A parent=()
while read -r pid ppid; do parent[$pid]=$ppid; done < <(ps -e -o pid=,ppid=)
own=" "
pid=$$
while [ -n "$pid" ] && [ "$pid" != 0 ]; do
  own+="$pid "
  pid=${parent[$pid]:-}
done
for pid in $found; do
  pid=${pid#/proc/}
  pid=${pid%/environ}
  ppid=${parent[$pid]:-}
  [ -n "$ppid" ] || continue
  # This script's subshells carry the mark until they start a command.
  [[ $own == *" $pid "* ]] || [ "$ppid" = $$ ] || [ "${parent[$ppid]:-}" = $$ ] || echo "$pid"
done
