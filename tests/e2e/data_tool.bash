# Shared by the kavorind-data scripts: $tool, a scratch folder $work removed on exit, fail, and run
# (which runs the tool, sets $code and keeps what it printed in $work/out and $work/err; a run
# longer than $run_seconds, 60 unless set, is stopped and gives 124).
tool=$build/kavorind-data
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }
run() {
    set +e
    timeout "${run_seconds:-60}" "$tool" "$@" >"$work/out" 2>"$work/err"
    code=$?
    set -e
}
