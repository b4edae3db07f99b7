# Read by every shell script of the tree first (". scripts/help.sh"): "--help" or "-h" as the first
# argument prints the comment at the top of the script that reads it (its usage) and ends it, so
# that no script takes the word for an argument of its job.
if [ "${1:-}" = --help ] || [ "${1:-}" = -h ]; then
  awk 'NR == 1 { next } /^#/ { sub(/^# ?/, ""); print; next } { exit }' "$0"
  exit 0
fi
