# fish completion for reader-config: commands, options, profile files, and
# the device paths and serial numbers 'reader-config list' prints.
# Installed as share/fish/vendor_completions.d/reader-config.fish.

# Column "path" or "serial" of 'list', asked with the --simulate options
# already typed (no --simulate-state: completing writes no file).
function __reader_config_listed -a column
    set -l tokens (commandline -opc)
    set -l simulate (string match -r -- '^--simulate(?:=.*)?$' $tokens[2..-1])
    $tokens[1] $simulate --lang en list 2>/dev/null | while read -l path word interface serialword serial rest
        test "$word" = interface; or continue
        if test "$column" = path
            echo $path
        else if test "$serial" != "(none)"
            echo $serial
        end
    end
end

set -l commands read apply verify batch list
complete -c reader-config -f
complete -c reader-config -n "not __fish_seen_subcommand_from $commands" -a read -d "print the attached device's settings"
complete -c reader-config -n "not __fish_seen_subcommand_from $commands" -a apply -d 'write what differs from a profile'
complete -c reader-config -n "not __fish_seen_subcommand_from $commands" -a verify -d 'compare the device with a profile'
complete -c reader-config -n "not __fish_seen_subcommand_from $commands" -a batch -d 'configure every reader plugged in'
complete -c reader-config -n "not __fish_seen_subcommand_from $commands" -a list -d 'print every attached reader'

# Profiles: JSON files (and folders to go into) after apply, verify and batch.
function __reader_config_profiles
    string match -r -- '^[^\t]*(?:\.json|/)\t.*$' (__fish_complete_path (commandline -ct))
end
complete -c reader-config -n "__fish_seen_subcommand_from apply verify batch" -a "(__reader_config_profiles)"

complete -c reader-config -l device -x -a '(__reader_config_listed path)' -d 'talk to the device at PATH only'
complete -c reader-config -l serial -x -a '(__reader_config_listed serial)' -d 'talk to the device with serial number S only'
complete -c reader-config -l json -d 'print the result as JSON'
complete -c reader-config -s q -l quiet -d 'print no progress'
complete -c reader-config -s v -l verbose -d 'tell each step; -vv adds the settings'
complete -c reader-config -l lang -x -a 'zh en' -d 'language of the messages'
complete -c reader-config -l simulate -f -a 'reader keypad old-reader silent' -d 'use virtual devices'
complete -c reader-config -l simulate-state -r -F -d 'keep the virtual devices in FILE'
complete -c reader-config -l trace -r -F -d 'write every HID report to FILE'
complete -c reader-config -s h -l help -d 'show the help'
complete -c reader-config -s V -l version -d 'show the version'
complete -c reader-config -n "__fish_seen_subcommand_from apply" -l force -d 'write without reading first'
complete -c reader-config -n "__fish_seen_subcommand_from batch" -l count -x -d 'stop after N readers'
complete -c reader-config -n "__fish_seen_subcommand_from batch" -l log -r -F -d 'append one CSV row per reader'
complete -c reader-config -n "__fish_seen_subcommand_from batch" -l parallel -d 'configure every reader at once'
