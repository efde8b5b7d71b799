# Sourced by the scripts: how many jobs a build and a test run use. Every core unless
# TOVAKIN_JOBS names a smaller count (a busy machine, or a build beside other work).
jobs=${TOVAKIN_JOBS:-$(nproc)}
if ! [[ $jobs =~ ^[1-9][0-9]*$ ]]; then
  echo "TOVAKIN_JOBS must be a whole number of jobs from 1 up, not '$jobs'" >&2
  exit 2
fi
