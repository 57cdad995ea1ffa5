#!/bin/bash
# One shard of a large sweep per Slurm array task. Submit with
#   sbatch --array=1-64 examples/sweep-slurm.sh
# and join the shards when every task has finished:
#   examples/join-shards.sh lambda-map 64 > lambda-map.csv
# A task that is stopped (time limit, node failure) can simply be submitted
# again: --resume continues its shard where the file ends.
#SBATCH --job-name=veltrano-sweep
#SBATCH --cpus-per-task=16
#SBATCH --time=02:00:00
#SBATCH --output=logs/%x-%A_%a.log
set -euo pipefail

name=lambda-map
mkdir -p shards
veltrano-cli sweep \
  --vary sigma=0:40:2000 --vary R=0:200:2000 \
  --shard "$((SLURM_ARRAY_TASK_ID))/$SLURM_ARRAY_TASK_COUNT" \
  --threads "${SLURM_CPUS_PER_TASK:-1}" \
  --output "shards/$name-$SLURM_ARRAY_TASK_ID.csv" --resume \
  --no-progress \
  2000 10 28 2.6667
