# Shared by the command-line tests: a program folder whose Login.ini points at
# the test database, a check that counts, and a fresh institution.
#   . cli_test_lib.sh CLI
cli=$1
if [ -z "${QUORISDEX_TEST_DB:-}" ]; then
  echo "QUORISDEX_TEST_DB is not set: run the tests through scripts/test"
  exit 1
fi
app=$(mktemp -d)
trap 'rm -rf "$app"' EXIT
export QUORISDEX_DRIVE="$app/drive"
mkdir -p "$QUORISDEX_DRIVE"
printf '[SYSTEM]\r\nDBCONNIP=%s\r\nDBCONNUSER=%s\r\nDBCONNPW=%s\r\n' "$QUORISDEX_TEST_DB" \
  "${QUORISDEX_TEST_DB_USER:-quorisdex}" "${QUORISDEX_TEST_DB_PASSWORD:-quorisdex-demo}" \
  >"$app/Login.ini"

passed=0
failed=0
check() {  # name, expected status, actual status, expected line, output
  if [ "$3" -eq "$2" ] && grep -qxF -- "$4" <<<"$5"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s: status %s (expected %s), wanted line "%s" in:\n%s\n' "$1" "$3" "$2" "$4" "$5"
  fi
}
run() { "$cli" --app-path "$app" "$@" 2>&1; }
sql() {  # statement against the test database
  local entry=$QUORISDEX_TEST_DB
  mariadb -h "${entry%:*}" -P "${entry##*:}" -u "${QUORISDEX_TEST_DB_USER:-quorisdex}" \
    -p"${QUORISDEX_TEST_DB_PASSWORD:-quorisdex-demo}" -N -e "$1"
}
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# new_institution BASE: an unused number from BASE on, with head office h<inx>/hpw.
new_institution() {
  inx=$(($1 + $$ % 5000))
  run admin init-db >/dev/null || { echo "init-db failed"; exit 1; }
  local out
  out=$(run admin create-institution --inx "$inx" --id "h$inx" --password hpw \
    --org-code "99000$inx" --stat-company 1) || { echo "create-institution failed: $out"; exit 1; }
}
