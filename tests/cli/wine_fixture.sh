#!/bin/sh
# The Wine tests' fixture: start makes the prefix once (wineboot, slow the first time), starts the one
# persistent wineserver every Wine test then shares, and boots the prefix; stop ends the server and all it ran.
# usage: wine_fixture.sh start|stop PREFIX WINE64 WINESERVER
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu
action=$1
export WINEPREFIX=$2
wine64=$3
wineserver=$4
export WINEDEBUG=-all
case $action in
start)
    mkdir -p "$WINEPREFIX"
    # The server and the services wineboot starts outlive this script: they must not hold CTest's pipes.
    log=$WINEPREFIX/../wine-fixture.log
    "$wineserver" -p </dev/null >"$log" 2>&1
    # A new prefix is made (no Mono or Gecko installer: the tests need neither); an existing one is started,
    # so the services a first program would start are running already.
    if [ -f "$WINEPREFIX/system.reg" ]; then boot=; else boot=-i; fi
    WINEDLLOVERRIDES="mscoree,mshtml=" "$wine64" wineboot $boot </dev/null >>"$log" 2>&1
    ;;
stop)
    "$wineserver" -k </dev/null >/dev/null 2>&1 || true
    ;;
esac
