#!/usr/bin/env bash
# An unreachable database: the connect message and exit status 2, no crash.
set -u
cli=$1
app=$(mktemp -d)
trap 'rm -rf "$app"' EXIT
printf '[SYSTEM]\r\nDBCONNIP=127.0.0.1:1\r\nDBCONNUSER=nobody\r\nDBCONNPW=x\r\n' >"$app/Login.ini"
out=$("$cli" --app-path "$app" --id demo --password demo1234 login 2>/dev/null)
status=$?
expected='[확인] CMS 서버에 연결하지 못했습니다. 잠시후 다시 시도 하십시오.'
if [ "$status" -ne 2 ] || [ "$out" != "$expected" ]; then
  echo "unexpected: status=$status output=$out"
  exit 1
fi
echo "1 passed, 0 failed"
