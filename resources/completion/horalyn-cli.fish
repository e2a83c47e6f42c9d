# fish completion for horalyn-cli

set -l commands next add list agenda show delete export import report backup
complete -c horalyn-cli -f
complete -c horalyn-cli -n "not __fish_seen_subcommand_from $commands" -l help -d 'Show the commands'
complete -c horalyn-cli -n "not __fish_seen_subcommand_from $commands" -l version -d 'Show the version'
complete -c horalyn-cli -n "not __fish_seen_subcommand_from $commands" -a next -d 'List the coming occurrences of a rule'
complete -c horalyn-cli -n "not __fish_seen_subcommand_from $commands" -a add -d 'Add a task and print its ID'
complete -c horalyn-cli -n "not __fish_seen_subcommand_from $commands" -a list -d 'List the tasks'
complete -c horalyn-cli -n "not __fish_seen_subcommand_from $commands" -a agenda -d 'List what comes over the coming days'
complete -c horalyn-cli -n "not __fish_seen_subcommand_from $commands" -a show -d 'Print every field of one task'
complete -c horalyn-cli -n "not __fish_seen_subcommand_from $commands" -a delete -d 'Delete one task'
complete -c horalyn-cli -n "not __fish_seen_subcommand_from $commands" -a export -d 'Write a table to a file'
complete -c horalyn-cli -n "not __fish_seen_subcommand_from $commands" -a import -d 'Add the records of a file'
complete -c horalyn-cli -n "not __fish_seen_subcommand_from $commands" -a report -d 'Print a report'
complete -c horalyn-cli -n "not __fish_seen_subcommand_from $commands" -a backup -d 'Copy the whole database'

set -l types "Once" "Day of Week" "Day of Month" "Monthly" "Yearly" "Custom"
set -l units "minute(s)" "hour(s)" "day(s)" "week(s)" "month(s)" "year(s)"

# Every command's --help.
complete -c horalyn-cli -n "__fish_seen_subcommand_from $commands" -l help -d 'Show the options'

# next and add share the rule.
for c in next add
    complete -c horalyn-cli -n "__fish_seen_subcommand_from $c" -l type -x -a "'"(string join "' '" $types)"'" -d 'The rule'
    complete -c horalyn-cli -n "__fish_seen_subcommand_from $c" -l days -x -d 'Weekdays: sun,mon,...'
    complete -c horalyn-cli -n "__fish_seen_subcommand_from $c" -l ordinals -x -d 'Weeks of the month: 1st,...,last'
    complete -c horalyn-cli -n "__fish_seen_subcommand_from $c" -l every -x -d 'Units per repetition'
    complete -c horalyn-cli -n "__fish_seen_subcommand_from $c" -l unit -x -a "$units" -d 'Unit of a repetition'
    complete -c horalyn-cli -n "__fish_seen_subcommand_from $c" -l date -x -d 'YYYY-MM-DD'
    complete -c horalyn-cli -n "__fish_seen_subcommand_from $c" -l time -x -d 'Time of day'
end
complete -c horalyn-cli -n "__fish_seen_subcommand_from next" -l count -x -d 'How many occurrences'

complete -c horalyn-cli -n "__fish_seen_subcommand_from add" -l task-type -x -a "'Display Message' 'Run Program' Both None" -d 'What the task does'
complete -c horalyn-cli -n "__fish_seen_subcommand_from add" -l description -x -d 'Description of the task'
complete -c horalyn-cli -n "__fish_seen_subcommand_from add" -l message -x -d 'Message to display'
complete -c horalyn-cli -n "__fish_seen_subcommand_from add" -l command -x -a "(__fish_complete_command)" -d 'Program to start'
complete -c horalyn-cli -n "__fish_seen_subcommand_from add" -l path -x -a "(__fish_complete_directories)" -d 'Folder to start it in'
complete -c horalyn-cli -n "__fish_seen_subcommand_from add" -l category -x -d 'Category of the task'
complete -c horalyn-cli -n "__fish_seen_subcommand_from add" -l alarm -r -F -d 'Sound file to play'
complete -c horalyn-cli -n "__fish_seen_subcommand_from add" -l warn -d 'Warn if not run on its date'
complete -c horalyn-cli -n "__fish_seen_subcommand_from add" -l skip-if-missed -d 'Skip it if not run at its time'
complete -c horalyn-cli -n "__fish_seen_subcommand_from add" -l no-history -d 'Keep no history entry'
complete -c horalyn-cli -n "__fish_seen_subcommand_from add" -l confirm -d 'Offer to skip it first'
complete -c horalyn-cli -n "__fish_seen_subcommand_from add" -l skip-next -d 'Skip its next occurrence'
complete -c horalyn-cli -n "__fish_seen_subcommand_from add" -l disabled -d 'Do not perform it'

complete -c horalyn-cli -n "__fish_seen_subcommand_from list export report" -l history -d 'The history entries too'

complete -c horalyn-cli -n "__fish_seen_subcommand_from export import" -a "schedule contacts todo" -d 'Table'
complete -c horalyn-cli -n "__fish_seen_subcommand_from export import" -F
complete -c horalyn-cli -n "__fish_seen_subcommand_from export import" -l fields -x -d 'The fields in order'
complete -c horalyn-cli -n "__fish_seen_subcommand_from export import" -l layout -r -F -d 'Fields from a layout file'
complete -c horalyn-cli -n "__fish_seen_subcommand_from export import" -l save-layout -r -F -d 'Also write the layout'
complete -c horalyn-cli -n "__fish_seen_subcommand_from export import" -l no-header -d 'No first line naming the columns'
complete -c horalyn-cli -n "__fish_seen_subcommand_from export import" -l format -x -a "csv ical vcard vcard3" -d 'File format'

complete -c horalyn-cli -n "__fish_seen_subcommand_from report" -a "schedule-date schedule-category brief category contacts categories todo-priority todo-category" -d 'Report'
complete -c horalyn-cli -n "__fish_seen_subcommand_from report" -l format -x -a "pdf txt csv" -d 'Output format'
complete -c horalyn-cli -n "__fish_seen_subcommand_from report" -l output -r -F -d 'Write to a file'
complete -c horalyn-cli -n "__fish_seen_subcommand_from report" -l from -x -d 'Only tasks from this day on'
complete -c horalyn-cli -n "__fish_seen_subcommand_from report" -l to -x -d 'Only tasks up to this day'
complete -c horalyn-cli -n "__fish_seen_subcommand_from report" -l category -x -d 'Only this category'
complete -c horalyn-cli -n "__fish_seen_subcommand_from report" -l disabled -d 'The disabled tasks too'
complete -c horalyn-cli -n "__fish_seen_subcommand_from report" -l open -d 'Leave out the items marked done'

complete -c horalyn-cli -n "__fish_seen_subcommand_from agenda" -l days -x -d 'How many days, today the first'
complete -c horalyn-cli -n "__fish_seen_subcommand_from backup" -F -d 'File to copy the database to'
