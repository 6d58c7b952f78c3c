#!/bin/sh
# The setup tool lives beside the programs it copies into installs.
exec /usr/lib/suriball/suriball-setup "$@"
