# Starts and stops a private MariaDB server for tests and benchmarks.
# Source this file, then: mariadb_server_start DATA_DIR; ... ; mariadb_server_stop
# mariadb_server_start exports VELTRO_MARIADB_PORT; the server has user "veltro" (password
# "veltro") owning database "veltro_test", reachable on 127.0.0.1 only, utf8mb4 throughout.
# The system's configuration files are never read (--no-defaults).

# shellcheck source=freeport.sh
source "$(dirname "${BASH_SOURCE[0]}")/freeport.sh"

mariadb_server_dir=""
mariadb_server_pid=""

mariadb_server_start() {
  mariadb_server_dir=$1
  rm -rf "$mariadb_server_dir"
  mkdir -p "$mariadb_server_dir"
  chmod 700 "$mariadb_server_dir"

  # The server refuses to run as root unless told to: as root it runs as root.
  local as_root=()
  if [ "$(id -u)" -eq 0 ]; then
    as_root=(--user=root)
  fi
  local server_options=(
    --datadir="$mariadb_server_dir/data" --skip-name-resolve "${as_root[@]}"
    --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci
    --innodb-buffer-pool-size=64M --innodb-log-file-size=16M
  )

  VELTRO_MARIADB_PORT=$(free_local_port) || { echo "mariadb: no free port" >&2; return 1; }
  export VELTRO_MARIADB_PORT

  mariadb-install-db --no-defaults "${server_options[@]}" --auth-root-authentication-method=normal \
    --skip-test-db >"$mariadb_server_dir/install.log" 2>&1 ||
    { cat "$mariadb_server_dir/install.log" >&2; return 1; }

  local socket=$mariadb_server_dir/mariadb.sock
  # A throwaway server: durability is traded for test speed.
  mariadbd --no-defaults "${server_options[@]}" --innodb-doublewrite=0 \
    --innodb-flush-log-at-trx-commit=0 --bind-address=127.0.0.1 \
    --port="$VELTRO_MARIADB_PORT" --socket="$socket" --pid-file="$mariadb_server_dir/mariadb.pid" \
    --log-error="$mariadb_server_dir/server.log" </dev/null >/dev/null 2>&1 &
  mariadb_server_pid=$!

  # Until it answers, or at most 30 s; a server that ended has failed.
  local tries=0
  until mariadb-admin --no-defaults --socket="$socket" -u root ping >/dev/null 2>&1; do
    tries=$((tries + 1))
    if ! kill -0 "$mariadb_server_pid" 2>/dev/null || [ "$tries" -ge 300 ]; then
      cat "$mariadb_server_dir/server.log" >&2
      mariadb_server_stop
      return 1
    fi
    sleep 0.1
  done

  mariadb --no-defaults --socket="$socket" -u root --default-character-set=utf8mb4 -e "
    CREATE DATABASE veltro_test CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
    CREATE USER 'veltro'@'127.0.0.1' IDENTIFIED BY 'veltro';
    GRANT ALL ON veltro_test.* TO 'veltro'@'127.0.0.1';
    GRANT PROCESS ON *.* TO 'veltro'@'127.0.0.1';" ||
    { echo "mariadb: could not create the test user and database" >&2; return 1; }
  echo "mariadb: MariaDB running on 127.0.0.1:$VELTRO_MARIADB_PORT" >&2
}

mariadb_server_stop() {
  if [ -n "$mariadb_server_pid" ] && kill -0 "$mariadb_server_pid" 2>/dev/null; then
    kill -TERM "$mariadb_server_pid"
    wait "$mariadb_server_pid" 2>/dev/null
  fi
  mariadb_server_pid=""
}
