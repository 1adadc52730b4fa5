# Starts and stops a private PostgreSQL 15 cluster for tests and benchmarks.
# Source this file, then: pg_cluster_start DATA_DIR; ... ; pg_cluster_stop
# pg_cluster_start exports VELTRO_PG_PORT; the cluster has role "veltro" (password
# "veltro") owning database "veltro_test", reachable on 127.0.0.1 only.

# shellcheck source=freeport.sh
source "$(dirname "${BASH_SOURCE[0]}")/freeport.sh"

PG_BIN=${PG_BIN:-/usr/lib/postgresql/15/bin}
pg_cluster_dir=""
pg_cluster_user=""

pg_as_owner() {
  if [ -n "$pg_cluster_user" ]; then
    runuser -u "$pg_cluster_user" -- "$@"
  else
    "$@"
  fi
}

pg_cluster_start() {
  local wanted_dir=$1
  # initdb refuses to run as root: the cluster then belongs to the postgres system user.
  if [ "$(id -u)" -eq 0 ]; then
    pg_cluster_user=postgres
  fi
  pg_cluster_dir=$wanted_dir
  rm -rf "$pg_cluster_dir"
  mkdir -p "$pg_cluster_dir"
  if [ -n "$pg_cluster_user" ]; then
    chown "$pg_cluster_user" "$pg_cluster_dir"
    if ! runuser -u "$pg_cluster_user" -- test -w "$pg_cluster_dir"; then
      # A parent folder the postgres user cannot enter: fall back to a private temp folder.
      rm -rf "$pg_cluster_dir"
      pg_cluster_dir=$(mktemp -d /tmp/veltro-pg.XXXXXX)
      chown "$pg_cluster_user" "$pg_cluster_dir"
    fi
  fi
  chmod 700 "$pg_cluster_dir"

  VELTRO_PG_PORT=$(free_local_port) || { echo "pgcluster: no free port" >&2; return 1; }
  export VELTRO_PG_PORT

  pg_as_owner "$PG_BIN/initdb" -D "$pg_cluster_dir/data" -U postgres --auth=trust \
    --encoding=UTF8 --no-locale >"$pg_cluster_dir/initdb.log" 2>&1 ||
    { cat "$pg_cluster_dir/initdb.log" >&2; return 1; }
  pg_as_owner "$PG_BIN/pg_ctl" -D "$pg_cluster_dir/data" -l "$pg_cluster_dir/server.log" -w \
    -o "-c listen_addresses=127.0.0.1 -p $VELTRO_PG_PORT -k $pg_cluster_dir -c fsync=off" \
    start >/dev/null ||
    { cat "$pg_cluster_dir/server.log" >&2; return 1; }

  local psql=("$PG_BIN/psql" -X -q -h 127.0.0.1 -p "$VELTRO_PG_PORT" -U postgres -d postgres)
  "${psql[@]}" -c "CREATE ROLE veltro LOGIN PASSWORD 'veltro'" &&
    "${psql[@]}" -c "CREATE DATABASE veltro_test OWNER veltro" ||
    { echo "pgcluster: could not create the test role and database" >&2; return 1; }
  echo "pgcluster: PostgreSQL running on 127.0.0.1:$VELTRO_PG_PORT" >&2
}

pg_cluster_stop() {
  if [ -n "$pg_cluster_dir" ] && [ -d "$pg_cluster_dir/data" ]; then
    pg_as_owner "$PG_BIN/pg_ctl" -D "$pg_cluster_dir/data" -m immediate -w stop >/dev/null 2>&1
  fi
}
