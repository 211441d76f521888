#!/usr/bin/env bash
# Plays a movie for ten seconds through the media service, in a video window,
# printing each command's status and answer.
# usage: play-sample.sh MOVIE
set -euo pipefail
cd "$(dirname "$0")/.."
movie=$(realpath "${1:?usage: play-sample.sh MOVIE}")
{
  printf 'open "%s" type mpegvideo alias movie\n' "$movie"
  printf 'set movie time format ms\nstatus movie length\nplay movie\n'
  sleep 10
  printf 'status movie position wait\nstatus movie mode\nclose all\n'
} | build/trelvane-mci --vo gpu,x11 --ao ""
