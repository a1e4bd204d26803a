#!/usr/bin/env bash
# Writes a bash completion for dnx8 from the program's own --help, so the
# commands and options it completes are always those the program has.
#   packaging/make-completion.sh path/to/dnx8 > dnx8.bash-completion
set -euo pipefail
dnx8=$1

# Option names in a CLI11 help text: words starting with -- or - at the
# start of an option line.
options_of() {
  sed -n 's/^  \{1,\}\(-[-A-Za-z0-9,= ]*\).*/\1/p' | grep -o -- '--\?[A-Za-z][-A-Za-z0-9]*' | sort -u | tr '\n' ' '
}
commands=$("$dnx8" --help | sed -n '/^subcommands:/I,$p' | sed -n 's/^  \([a-z][a-z0-9-]*\) .*/\1/p' | tr '\n' ' ')
global=$("$dnx8" --help | sed '/^subcommands:/I,$d' | options_of)

cat <<HEAD
# bash completion for dnx8, generated from dnx8 --help.
_dnx8()
{
    local cur prev command i
    cur=\${COMP_WORDS[COMP_CWORD]}
    prev=\${COMP_WORDS[COMP_CWORD-1]}
    command=
    for ((i = 1; i < COMP_CWORD; i++)); do
        case \${COMP_WORDS[i]} in
            -*) ;;
            *) command=\${COMP_WORDS[i]}; break ;;
        esac
    done
    case \$prev in
        -o|--output|--svg|--linearization) COMPREPLY=(\$(compgen -f -- "\$cur")); return ;;
    esac
    local words
    case \$command in
        "") words="$commands $global" ;;
HEAD
for c in $commands; do
  sub=$("$dnx8" "$c" --help | sed -n '/^subcommands:/I,$p' | sed -n 's/^  \([a-z][a-z0-9-]*\) .*/\1/p' | tr '\n' ' ')
  opts=$("$dnx8" "$c" --help | sed '/^subcommands:/I,$d' | options_of)
  echo "        $c) words=\"$sub$opts $global\" ;;"
done
cat <<'TAIL'
    esac
    if [[ $cur == -* || -z $command ]]; then
        COMPREPLY=($(compgen -W "$words" -- "$cur"))
    else
        # Ports and files: serial devices, stable names, backups, point files.
        COMPREPLY=($(compgen -W "$words" -- "$cur") $(compgen -f -- "$cur"))
    fi
}
complete -F _dnx8 dnx8
TAIL
