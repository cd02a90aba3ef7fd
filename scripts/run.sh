#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it with the given arguments.
# Unless they name the service's hosts ("-beta <web host> <api host>"), Mavu talks to the
# local service (service/mavu_service.py), started here on 127.0.0.1 and ended with Mavu.
# MAVU_SERVICE_PORT (default 8443) and MAVU_SERVICE_DIR (default ~/.local/share/mavu-service)
# choose its port and its data folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --no-test
cmake -S . -B build-app -G Ninja -DCMAKE_BUILD_TYPE=Release -DMAVU_BUILD_TESTS=OFF
cmake --build build-app

for argument in "$@"; do
  if [ "$argument" = "-beta" ]; then
    exec build-app/src/mavu "$@"
  fi
done

data=${MAVU_SERVICE_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/mavu-service}
port=${MAVU_SERVICE_PORT:-8443}
# The service ends when this script ends: it reads its standard input, our pipe, until it closes.
coproc SERVICE { exec python3 service/mavu_service.py --dir "$data" --port "$port" --exit-with-stdin; }
ready="" service_port="" certificate=""
read -r ready service_port certificate <&"${SERVICE[0]}" || true
if [ "$ready" != "READY" ]; then
  echo "The local service did not start on port $port (taken? choose another with MAVU_SERVICE_PORT)." >&2
  exit 1
fi
host=127.0.0.1:$service_port
echo "Local service: https://$host (data in $data). Sign in as user@example.com with the password secret."
MAVU_CA_FILE=$certificate MAVU_SUPPORT_HOST=$host build-app/src/mavu -beta "$host" "$host" "$@"
