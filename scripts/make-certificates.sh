#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
# Makes a throw-away certificate authority and a certificate it signs for rv-service, for a
# trial run or a test, in an existing folder:
#   ca.pem                    the CA, for the client's --ca-file
#   service.pem, service.key  the service's certificate with the CA after it (a chain) and its
#                             key, for rv-service's --tls-cert and --tls-key
# The arguments are the names the certificate is valid for, as subject alternative names
# (default IP:127.0.0.1). The CA's own key is deleted at once: it signs nothing else. A hospital
# uses a certificate from its own or a public CA instead.
# Usage: scripts/make-certificates.sh FOLDER [IP:ADDRESS|DNS:NAME]...
set -euo pipefail
dir=$1
shift
names=("${@:-IP:127.0.0.1}")
san=$(IFS=,; echo "${names[*]}")
cd "$dir"
umask 077
cat > ca.cnf <<'CONF'
[req]
distinguished_name = dn
[dn]
[ca]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
CONF
printf 'basicConstraints = CA:FALSE\nkeyUsage = critical, digitalSignature\nextendedKeyUsage = serverAuth\nsubjectAltName = %s\n' \
  "$san" > service.cnf
key=(-newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes)
openssl req -x509 "${key[@]}" -config ca.cnf -extensions ca -days 30 -subj "/CN=RV throw-away CA" \
  -keyout ca.key -out ca.pem 2>/dev/null
openssl req "${key[@]}" -config ca.cnf -subj "/CN=rv-service" -keyout service.key \
  -out service.csr 2>/dev/null
openssl x509 -req -in service.csr -CA ca.pem -CAkey ca.key -set_serial "0x$(openssl rand -hex 8)" \
  -days 30 -extfile service.cnf -out service.crt 2>/dev/null
cat service.crt ca.pem > service.pem
rm -f ca.key ca.cnf service.cnf service.csr service.crt
chmod 644 ca.pem service.pem
