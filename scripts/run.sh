#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it with the given arguments, in
# the folder run.sh was called from (file names are read from there).
# Unless they name the service's hosts ("-beta <web host> <api host>") or ask for the usage
# ("-help"), Mavu talks to the local service (service/mavu_service.py) on 127.0.0.1: the one
# an earlier run.sh started and still runs, or else one started here and ended with Mavu.
# MAVU_SERVICE_PORT (default 8443) and MAVU_SERVICE_DIR (default ~/.local/share/mavu-service)
# choose its port and its data folder.
set -euo pipefail
caller=$PWD
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh --no-test
cmake -S . -B build-app -G Ninja -DCMAKE_BUILD_TYPE=Release -DMAVU_BUILD_TESTS=OFF
cmake --build build-app
mavu=$root/build-app/src/mavu
cd "$caller"

for argument in "$@"; do
  if [ "$argument" = "-beta" ] || [ "$argument" = "-help" ]; then
    exec "$mavu" "$@"
  fi
done

data=${MAVU_SERVICE_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/mavu-service}
port=${MAVU_SERVICE_PORT:-8443}
host=127.0.0.1:$port

# True when the local service with this data folder's certificate answers on the port.
service_answers() {
  [ -f "$data/cert.pem" ] && python3 - "$data/cert.pem" "$port" <<'EOF'
import ssl, sys, urllib.request
try:
    context = ssl.create_default_context(cafile=sys.argv[1])
    with urllib.request.urlopen("https://127.0.0.1:%s/ping?q=run" % sys.argv[2], context=context, timeout=5) as reply:
        sys.exit(0 if reply.read() == b"pong" else 1)
except Exception:
    sys.exit(1)
EOF
}

if service_answers; then
  echo "Local service: https://$host, started by another run.sh (data in $data)."
  MAVU_CA_FILE=$data/cert.pem MAVU_SUPPORT_HOST=$host exec "$mavu" -beta "$host" "$host" "$@"
fi

# The service ends when this script ends: it reads its standard input, our pipe, until it closes.
coproc SERVICE { exec python3 "$root/service/mavu_service.py" --dir "$data" --port "$port" --exit-with-stdin; }
ready="" service_port="" certificate=""
read -r ready service_port certificate <&"${SERVICE[0]}" || true
if [ "$ready" != "READY" ]; then
  echo "The local service did not start on port $port (taken? choose another with MAVU_SERVICE_PORT)." >&2
  exit 1
fi
host=127.0.0.1:$service_port
echo "Local service: https://$host (data in $data). Sign in as user@example.com with the password secret."
MAVU_CA_FILE=$certificate MAVU_SUPPORT_HOST=$host "$mavu" -beta "$host" "$host" "$@"
