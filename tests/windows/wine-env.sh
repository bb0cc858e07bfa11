# The environment of every wine command of the tests (sourced by wine-run and
# wine-prefix): no debug output, no Mono or Gecko installer, and one locale
# for every command in a prefix, since wine rewrites the prefix's regional
# settings (HKCU\Control Panel\International) whenever LANG or LC_ALL differs
# from the last one it saw there.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
unset LANG LANGUAGE LC_CTYPE LC_NUMERIC LC_TIME LC_COLLATE LC_MONETARY LC_MESSAGES
