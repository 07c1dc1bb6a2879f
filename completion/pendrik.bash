# Completion for pendrik in bash: a count of months, then a file.
_pendrik()
{
	local cur=${COMP_WORDS[COMP_CWORD]}
	case $COMP_CWORD in
	1) COMPREPLY=($(compgen -W '12 24 36' -- "$cur")) ;;
	2) COMPREPLY=($(compgen -f -- "$cur")) && compopt -o filenames 2>/dev/null ;;
	esac
}
complete -F _pendrik pendrik
