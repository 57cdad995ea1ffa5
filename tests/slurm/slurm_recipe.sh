#!/usr/bin/env bash
# Runs the README's Slurm recipe on a real one-node cluster made on this
# machine (munge, slurmctld, slurmd; as root): every task of a small sweep,
# one task cancelled mid-way and submitted again alone as the README says,
# then the join, compared byte for byte with the same sweep in one process.
# Skips (77) where Slurm is not installed.
#   tests/slurm/slurm_recipe.sh <folder holding veltrano-cli>
set -u
bin=$(cd "$1" && pwd)
for tool in slurmctld slurmd sbatch squeue scancel munged; do
  command -v $tool > /dev/null || { echo "skipped: $tool is not installed (slurm-wlm, munge)"; exit 77; }
done
[ "$(id -u)" = 0 ] || { echo "skipped: the one-node cluster is started as root"; exit 77; }
recipe=$(cd "$(dirname "$0")/../../examples" && pwd)/sweep-slurm.sh
work=$(mktemp -d)
export PATH=$bin:$PATH SLURM_CONF=$work/slurm.conf
started=()
cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2> /dev/null; done
  wait 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT
say() { echo "[$(date +%T)] $*"; }

# The cluster: one node with this machine's CPUs.
mkdir -p "$work/state" "$work/spool" "$work/munge" /run/munge
chown munge:munge "$work/munge" /run/munge
[ -s /etc/munge/munge.key ] || mungekey --create
munged --foreground --socket="$work/munge/munge.socket" --pid-file="$work/munge/munged.pid" \
  --seed-file="$work/munge/seed" --log-file="$work/munge/munged.log" --force 2> /dev/null &
started+=($!)
cat > "$SLURM_CONF" <<CONF
ClusterName=veltrano
SlurmctldHost=localhost
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$work/munge/munge.socket
CredType=cred/munge
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ReturnToService=2
MpiDefault=none
JobAcctGatherType=jobacct_gather/none
NodeName=localhost CPUs=$(nproc) State=UNKNOWN
PartitionName=debug Nodes=localhost Default=YES MaxTime=INFINITE State=UP
CONF
sleep 1
slurmctld -D -i -f "$SLURM_CONF" 2> "$work/slurmctld.out" &
started+=($!)
slurmd -D -N localhost -f "$SLURM_CONF" 2> "$work/slurmd.out" &
started+=($!)
# Fail fast: a minute at most, each query bounded, and at once when a daemon
# has died.
up=false
for _ in $(seq 60); do
  timeout 3 sinfo -h -o %t 2> /dev/null | grep -q idle && { up=true; break; }
  for pid in "${started[@]}"; do
    kill -0 "$pid" 2> /dev/null || { echo "a daemon of the cluster ended at start"; break 2; }
  done
  sleep 1
done
$up || { echo "the cluster did not come up"; tail "$work"/*.log "$work"/*.out 2> /dev/null; exit 1; }
say "one-node cluster up: $(sinfo -h -o '%D node, %c CPUs, %t')"

# The recipe, made small the way a user edits it: 4 shards of 400 points.
cd "$work"
sed -e 's/^SHARDS=64 /SHARDS=4 /' \
    -e 's/^sweep=(.*)/sweep=(--vary R=0:250:100 --vary b=1:4:16 9999 10 28 2.6667)/' "$recipe" > sweep-slurm.sh
chmod +x sweep-slurm.sh
job=$(sbatch --parsable --array=1-4 --cpus-per-task=1 sweep-slurm.sh)
say "submitted array job $job (4 tasks, 1 CPU each)"
for _ in $(seq 600); do [ "$(cat shards/lambda-map-2.csv 2> /dev/null | wc -l)" -gt 20 ] && break; sleep 0.1; done
scancel "${job}_2"
for _ in $(seq 600); do [ -z "$(squeue -h -j "${job}_2" 2> /dev/null)" ] && break; sleep 0.1; done
cut=$(($(wc -l < shards/lambda-map-2.csv) - 1))
say "cancelled task 2 with $cut of its 400 rows written"
# A second name for the shard's file as it is now: a task that continues the
# file writes into this same file; one that made it anew would leave the
# second name with the cancelled rows alone.
ln shards/lambda-map-2.csv cancelled-2.csv
head -n $((cut + 1)) shards/lambda-map-2.csv > cancelled-2.rows
for _ in $(seq 600); do [ -z "$(squeue -h -j "$job" 2> /dev/null)" ] && break; sleep 0.5; done
passed=0 failed=0
check() { if eval "$2"; then passed=$((passed + 1)); say "ok: $1"; else failed=$((failed + 1)); say "FAIL: $1"; fi; }
./sweep-slurm.sh join 2> join.err
check "the join refuses while shard 2 is incomplete, naming it" '[ $? = 2 ] && grep -q "shard 2 of 4" join.err && [ ! -e lambda-map.csv ]'
cat join.err

job2=$(sbatch --parsable --array=2 --cpus-per-task=1 sweep-slurm.sh)
say "submitted task 2 again alone as job $job2"
for _ in $(seq 600); do [ -z "$(squeue -h -j "$job2" 2> /dev/null)" ] && break; sleep 0.5; done
check "task 2 continued its file: the rows written before the cancel were kept and the rest appended" \
  '[ "$cut" -lt 400 ] && cmp -s cancelled-2.csv shards/lambda-map-2.csv && [ "$(head -n $((cut + 1)) shards/lambda-map-2.csv | cmp - cancelled-2.rows && echo same)" = same ]'
./sweep-slurm.sh join
check "the join of the four shards" '[ $? = 0 ]'
veltrano-cli sweep --vary R=0:250:100 --vary b=1:4:16 9999 10 28 2.6667 > one-process.csv
check "the join is byte for byte the sweep in one process ($(($(wc -l < one-process.csv) - 1)) rows)" 'cmp lambda-map.csv one-process.csv'
check "the tasks' logs hold nothing but the cancellation" '[ "$(cat veltrano-sweep-*.log | grep -v "CANCELLED")" = "" ]'
echo "$passed passed, $failed failed"
[ $failed = 0 ]
