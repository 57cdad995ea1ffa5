#!/bin/bash
# Joins the shards of a sweep in order, keeping the first header only:
#   examples/join-shards.sh NAME M > NAME.csv
set -euo pipefail
name=$1
count=$2
cat "shards/$name-1.csv"
for ((k = 2; k <= count; k++)); do tail -n +2 "shards/$name-$k.csv"; done
