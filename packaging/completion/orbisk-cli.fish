# fish completion for orbisk-cli
set -l commands scan set-ip
complete -c orbisk-cli -f
complete -c orbisk-cli -n "not __fish_seen_subcommand_from $commands" -a scan -d 'list the NAS devices that answer'
complete -c orbisk-cli -n "not __fish_seen_subcommand_from $commands" -a set-ip -d "change one device's IP configuration"
complete -c orbisk-cli -n "not __fish_seen_subcommand_from $commands" -l version -d 'the program version'
complete -c orbisk-cli -s h -l help -d 'usage'
complete -c orbisk-cli -n "__fish_seen_subcommand_from $commands" -l timeout -x -d 'milliseconds'
complete -c orbisk-cli -n "__fish_seen_subcommand_from $commands" -l interface -x -a '(__fish_print_interfaces)' -d 'send out of this interface alone'
complete -c orbisk-cli -n "__fish_seen_subcommand_from $commands" -l all-interfaces -d 'every interface (the default)'
complete -c orbisk-cli -n "__fish_seen_subcommand_from $commands" -l target -x -d 'ADDRESS[/PREFIX]'
complete -c orbisk-cli -n "__fish_seen_subcommand_from scan" -l repeat -x -a '1 2 3 4 5' -d 'requests a scan (default 3)'
complete -c orbisk-cli -n "__fish_seen_subcommand_from scan" -l json -d 'JSON output'
complete -c orbisk-cli -n "__fish_seen_subcommand_from scan" -l csv -d 'CSV output'
complete -c orbisk-cli -n "__fish_seen_subcommand_from scan" -l stats -d 'timing figures on stderr'
complete -c orbisk-cli -n "__fish_seen_subcommand_from set-ip" -l static -d 'fixed address'
complete -c orbisk-cli -n "__fish_seen_subcommand_from set-ip" -l dhcp -d 'address from DHCP'
complete -c orbisk-cli -n "__fish_seen_subcommand_from set-ip" -l address -x -d 'new address'
complete -c orbisk-cli -n "__fish_seen_subcommand_from set-ip" -l netmask -x -d 'new netmask'
complete -c orbisk-cli -n "__fish_seen_subcommand_from set-ip" -l gateway -x -d 'new gateway'
complete -c orbisk-cli -n "__fish_seen_subcommand_from set-ip" -l user -x -d "administrator's name"
complete -c orbisk-cli -n "__fish_seen_subcommand_from set-ip" -l password-stdin -d 'password from standard input'
complete -c orbisk-cli -n "__fish_seen_subcommand_from set-ip" -l verify -d 'scan again afterwards'
complete -c orbisk-cli -n "__fish_seen_subcommand_from set-ip" -l force -d 'send what the checks refuse'
