# Completion for ostavel in bash: its options, the languages, calendars and holiday regions it
# knows, the layouts, events files (iCalendar and text files first), a year for START and a
# file for PATH and --output.

# The files and folders that begin with $1: those ending in .ics, then .txt, then the rest.
_ostavel_events_files()
{
	local IFS=$'\n' file
	local -A seen=()
	COMPREPLY=()
	for file in $(compgen -f -X '!*.ics' -- "$1") $(compgen -f -X '!*.txt' -- "$1") $(compgen -f -- "$1"); do
		[[ -n ${seen[$file]-} ]] || COMPREPLY+=("$file")
		seen[$file]=1
	done
	compopt -o filenames -o nosort 2>/dev/null
}

_ostavel()
{
	local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]-} word i
	local -i position=0 options_end=0
	# "--lang=de": bash splits the word at "=", so the option stands before it.
	if [[ $cur == = ]]; then
		cur=""
	elif [[ $prev == = ]]; then
		prev=${COMP_WORDS[COMP_CWORD - 2]}
	fi
	case $prev in
	--la | --lan | --lang)
		COMPREPLY=($(compgen -W "$(ostavel --list-languages 2>/dev/null)" -- "$cur"))
		return
		;;
	-*e | --e | --ev | --eve | --even | --event | --events)
		_ostavel_events_files "$cur"
		return
		;;
	--calendar | --second-calendar)
		COMPREPLY=($(compgen -W "$(ostavel --list-calendars 2>/dev/null)" -- "$cur"))
		return
		;;
	--holidays)
		COMPREPLY=($(compgen -W "$(ostavel --list-holidays 2>/dev/null | cut -d' ' -f1)" -- "$cur"))
		return
		;;
	--layout)
		COMPREPLY=($(compgen -W 'year month poster' -- "$cur"))
		return
		;;
	-*o | --output)
		COMPREPLY=($(compgen -f -- "$cur")) && compopt -o filenames 2>/dev/null
		return
		;;
	--title)
		return
		;;
	esac
	if [[ $cur == -* ]]; then
		COMPREPLY=($(compgen -W '--modern --monday --sunday --week-numbers --lang= --events=
			--calendar= --second-calendar= --holidays= --title= --layout= --output=
			--list-languages --list-calendars --list-holidays --help --version' -- "$cur"))
		[[ ${COMPREPLY[0]-} == *= ]] && compopt -o nospace 2>/dev/null
		return
	fi
	# Which of START, MONTHS and PATH this is: the words before it that are no options.
	for ((i = 1; i < COMP_CWORD; i++)); do
		word=${COMP_WORDS[i]}
		if ((options_end)) || [[ $word != -* || $word == - ]]; then
			[[ $word == = || ${COMP_WORDS[i - 1]} == @(-*e|-*o|--la|--lan|--lang|--e|--ev|--eve|--even|--event|--events|--calendar|--second-calendar|--holidays|--title|--layout|--output|=) ]] ||
				position+=1
		elif [[ $word == -- ]]; then
			options_end=1
		fi
	done
	case $position in
	0) COMPREPLY=($(compgen -W "$(date +%Y) $(($(date +%Y) + 1))" -- "$cur")) ;;
	2) COMPREPLY=($(compgen -f -- "$cur")) && compopt -o filenames 2>/dev/null ;;
	esac
}
complete -F _ostavel ostavel
