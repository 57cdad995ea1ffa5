#!/bin/bash
# A large sweep split over the tasks of a Slurm job array, one shard a task.
#
#   sbatch --array=1-64 --cpus-per-task=16 examples/sweep-slurm.sh   # compute
#   examples/sweep-slurm.sh join                                    # when all have ended
#
# Choose the CPUs of a task with --cpus-per-task (a task uses what Slurm
# grants it); --array must run from 1 to SHARDS below. A task that stopped
# (time limit, node failure, scancel) is simply submitted again, alone:
#
#   sbatch --array=17 --cpus-per-task=16 examples/sweep-slurm.sh
#
# and continues its shard where the file ends (--resume checks that the file
# is that shard's before it appends). join refuses, naming the shard, until
# every shard is complete, and then writes lambda-map.csv.
#
# veltrano-cli must be on the PATH of the job (installed from the package, or
# the build folder added to PATH before sbatch, which passes it on). Each
# task logs to veltrano-sweep-JOB_TASK.log in the folder it was submitted
# from; a requeued task appends to its log rather than replacing it.
#SBATCH --job-name=veltrano-sweep
#SBATCH --time=02:00:00
#SBATCH --output=veltrano-sweep-%A_%a.log
#SBATCH --open-mode=append
set -euo pipefail

SHARDS=64  # the number of shards, set here once
name=lambda-map
sweep=(--vary sigma=0:40:2000 --vary R=0:200:2000 2000 10 28 2.6667)

command -v veltrano-cli > /dev/null || {
  echo "veltrano-cli is not on the PATH of this job: install it, or add its folder to PATH before sbatch" >&2
  exit 2
}
if [ "${1:-}" = join ]; then
  exec veltrano-cli join "${sweep[@]}" --shards "$SHARDS" --input "shards/$name-{K}.csv" --output "$name.csv"
fi
k=${SLURM_ARRAY_TASK_ID:?submit with sbatch --array=1-$SHARDS}
if ((k < 1 || k > SHARDS)); then
  echo "array task $k is not a shard: submit --array within 1-$SHARDS" >&2
  exit 2
fi
mkdir -p shards
exec veltrano-cli sweep "${sweep[@]}" --shard "$k/$SHARDS" \
  --threads "${SLURM_CPUS_PER_TASK:-1}" \
  --output "shards/$name-$k.csv" --resume --no-progress
