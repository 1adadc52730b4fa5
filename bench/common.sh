# shellcheck shell=bash
# Shared by the benchmark scripts: the bench_rows table in PostgreSQL and SQLite, and the
# connect strings that read it, the program's settings and a busy machine. Source it after
# setting build, work and rows; it defines bench_psql, bench_create_tables,
# bench_create_narrow, bench_connect_strings, bench_settings and bench_start_hogs.
# Expects a running cluster (VELTRO_PG_PORT, see scripts/lib/pgcluster.sh).
# shellcheck disable=SC2154 # build, work and rows come from the sourcing script

bench_psql=(/usr/lib/postgresql/15/bin/psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1
  -p "$VELTRO_PG_PORT" -U veltro -d veltro_test)
export PGPASSWORD=veltro
sqlite_db=$work/bench.db

# bench_create_tables TAG: creates bench_rows ($rows rows) where its row count differs.
bench_create_tables() {
  local pg_rows sqlite_rows
  pg_rows=$("${bench_psql[@]}" -At -c "SELECT count(*) FROM bench_rows" 2>/dev/null || echo 0)
  if [ "$pg_rows" != "$rows" ]; then
    echo "$1: creating bench_rows in PostgreSQL ($rows rows)" >&2
    "${bench_psql[@]}" <<SQL
SET client_min_messages = warning;
DROP TABLE IF EXISTS bench_rows;
CREATE TABLE bench_rows (
  id int, big bigint, amount numeric(12,2), name varchar(20), hash char(32),
  d date, ts timestamp, flag boolean, txt varchar(30), dbl float8);
INSERT INTO bench_rows
SELECT i, i::bigint * 1000003, ((i % 100000) / 100.0)::numeric(12,2), 'name_' || i,
       md5(i::text), date '2000-01-01' + i % 10000,
       timestamp '2000-01-01' + i * interval '1 second', i % 2 = 0, repeat('x', i % 30),
       i / 3.0
FROM generate_series(1, $rows) AS i;
-- Sets hint bits and statistics now, so that no timed run pays for them.
VACUUM ANALYZE bench_rows;
SQL
  fi

  # SQLite has no md5: two Knuth multiplicative hashes of id, 16 hex digits each.
  sqlite_rows=$(sqlite3 "$sqlite_db" "SELECT count(*) FROM bench_rows" 2>/dev/null || echo 0)
  if [ "$sqlite_rows" != "$rows" ]; then
    echo "$1: creating bench_rows in $sqlite_db ($rows rows)" >&2
    rm -f "$sqlite_db.new"
    sqlite3 "$sqlite_db.new" <<SQL
CREATE TABLE bench_rows (
  id int, big bigint, amount numeric(12,2), name varchar(20), hash char(32),
  d date, ts timestamp, flag boolean, txt varchar(30), dbl float8);
WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < $rows)
INSERT INTO bench_rows
SELECT i, i * 1000003, round((i % 100000) / 100.0, 2), 'name_' || i,
       printf('%016x%016x', i * 2654435761, i * 2246822519),
       date('2000-01-01', '+' || (i % 10000) || ' days'),
       datetime('2000-01-01', '+' || i || ' seconds'), i % 2 = 0,
       substr('xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx', 1, i % 30), i / 3.0
FROM s;
SQL
    mv "$sqlite_db.new" "$sqlite_db"
  fi
}

# bench_create_narrow TAG ROWS: creates the PostgreSQL table bench_narrow_ROWS of ROWS rows x 3
# columns (int, varchar, numeric) unless it exists with that many rows.
bench_create_narrow() {
  local table=bench_narrow_$2 count
  count=$("${bench_psql[@]}" -At -c "SELECT count(*) FROM $table" 2>/dev/null || echo 0)
  [ "$count" = "$2" ] && return
  echo "$1: creating $table in PostgreSQL ($2 rows)" >&2
  "${bench_psql[@]}" <<SQL
SET client_min_messages = warning;
DROP TABLE IF EXISTS $table;
CREATE TABLE $table (id int, name varchar(20), amount numeric(12,2));
INSERT INTO $table
SELECT i, 'name_' || i, ((i % 100000) / 100.0)::numeric(12,2) FROM generate_series(1, $2) AS i;
VACUUM ANALYZE $table;
SQL
}

# bench_connect_strings: sets the global associative array "connect" to the streaming
# connect string of each driver, as bench/fetch uses them: psqlODBC through a cursor fetched
# 10,000 rows at a time, SQLite row by row (StepAPI) instead of reading the whole result first.
bench_connect_strings() {
  local pg="Driver=PostgreSQL;Server=127.0.0.1;Port=$VELTRO_PG_PORT;Database=veltro_test"
  # shellcheck disable=SC2034 # used by the sourcing script
  declare -gA connect=(
    [PostgreSQL]="$pg;UseDeclareFetch=1;Fetch=10000;UID=veltro;PWD=veltro"
    [SQLite]="Driver=SQLite3;Database=$sqlite_db;StepAPI=1"
  )
}

# bench_settings PRIORITY: the program's own settings under $work/config, so that nothing
# comes from whoever runs the benchmark; its worker runs at PRIORITY. The default, Lowest,
# gives the worker a nice value of 10, which a busy machine serves last.
bench_settings() {
  mkdir -p "$work/config/Kellamoor"
  export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
  printf '[Configure]\nThreadPriority=%s\n' "$1" >"$work/config/Kellamoor/Veltro (using ODBC).ini"
}

# bench_start_hogs N: a busy machine, N CPU-bound processes that run until the script ends.
bench_start_hogs() {
  bench_hogs=()
  trap '[ ${#bench_hogs[@]} -eq 0 ] || kill "${bench_hogs[@]}" 2>/dev/null || true' EXIT
  local i
  for ((i = 0; i < $1; i++)); do
    bash -c 'while :; do :; done' &
    bench_hogs+=($!)
  done
}
