# A TCP port on 127.0.0.1 that nothing listens on now, for a private server of the tests.
# Source this file, then: port=$(free_local_port)

free_local_port() {
  local port
  for _ in $(seq 1 200); do
    port=$(( 20000 + RANDOM % 20000 ))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return 0
    fi
  done
  return 1
}
