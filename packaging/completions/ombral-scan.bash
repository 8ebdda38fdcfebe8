# bash completion for ombral-scan: its options, their values, and folders.
_ombral_scan() {
  local cur prev
  cur=${COMP_WORDS[COMP_CWORD]}
  prev=${COMP_WORDS[COMP_CWORD-1]}
  case $prev in
    --index|--frame) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --filter) COMPREPLY=($(compgen -W 'GIF\|JPG\|JPEG\|BMP\|PNG JPG\|PNG' -- "$cur")); return ;;
  esac
  case $cur in
    --sort=*) COMPREPLY=($(compgen -P --sort= -W 'name date-taken date-taken-desc' -- "${cur#--sort=}")); return ;;
    --renditions=*) COMPREPLY=($(compgen -P --renditions= -W '1024 2048 4096 off' -- "${cur#--renditions=}")); return ;;
    --thumbnails=*) COMPREPLY=($(compgen -P --thumbnails= -W '120 240 480' -- "${cur#--thumbnails=}")); return ;;
    --preview-memory=*) COMPREPLY=($(compgen -P --preview-memory= -W '256 512 1024 2048' -- "${cur#--preview-memory=}")); return ;;
    -*)
      COMPREPLY=($(compgen -W '--index --frame --filter --no-overwrite --no-recurse --log --ignore-empty
        --thumbnails --thumbnails= --preview-memory= --remove-stale --dry-run --gallery --sort= --renditions=
        --follow-links --one-file-system --quiet --json --help --version' -- "$cur"))
      [[ ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
      return ;;
  esac
  COMPREPLY=($(compgen -d -- "$cur"))
}
complete -o filenames -F _ombral_scan ombral-scan
