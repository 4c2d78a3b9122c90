#!/usr/bin/env bash
# Runs a fuzz target for a bounded time over a fresh corpus seeded from SEEDS.
set -eu
target=$1 seeds=$2 seconds=$3
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp "$seeds"/* "$corpus"/ 2>/dev/null || true
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$corpus"
