#!/usr/bin/env bash
# Names the test programs of the last CTest run that needed a second run.
# CTest's log of the run (Testing/Temporary/LastTest.log) holds one block per
# start of a test; under `--repeat until-pass:2` a program that failed once
# is started again, so it has two blocks. For each such program one line is
# printed: its name and the GoogleTest cases that failed in its failed run,
# and that run's whole output is appended to DIR/<program>.log, so a flake
# leaves its evidence behind.
#   test-reruns.sh LOG DIR
set -euo pipefail
log=$1 dir=$2
[ -f "$log" ] || exit 0
mkdir -p "$dir"
awk -v dir="$dir" -v stamp="$(date -u '+%Y-%m-%d %H:%M:%S UTC')" '
  # A block: "N/M Testing: name" ... "Output:", a separator, the output,
  # "<end of output>" ... "Test Passed." or another verdict.
  /^[0-9]+\/[0-9]+ Testing: / { name = $0; sub(/^[^:]*: /, "", name); starts[name]++; inOut = 0; text = ""; next }
  /^Output:$/ { inOut = 1; getline; next }
  /^<end of output>$/ { inOut = 0; next }
  inOut { text = text $0 "\n"; next }
  /^Test / && !/^Test time/ && name != "" {
    if ($0 != "Test Passed.") { failedText[name] = failedText[name] text; verdict[name] = $0 }
    name = ""
  }
  END {
    for (n in starts) {
      if (starts[n] < 2) continue
      cases = ""
      split(failedText[n], lines, "\n")
      for (i in lines)
        if (lines[i] ~ /^\[  FAILED  \] [^ ]+\.[^ ]+ \(/) {
          c = lines[i]; sub(/^\[  FAILED  \] /, "", c); sub(/ \(.*$/, "", c)
          if (index(" " cases " ", " " c " ") == 0) cases = cases (cases == "" ? "" : " ") c
        }
      if (cases == "") cases = "(" (verdict[n] == "" ? "no output" : verdict[n]) ")"
      print n, cases
      file = dir "/" n ".log"
      print "==== " stamp ": the run that failed" >> file
      printf "%s", failedText[n] >> file
      close(file)
    }
  }' "$log" | sort
