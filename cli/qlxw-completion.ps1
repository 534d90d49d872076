# PowerShell completion for qlxw; load it from the profile: . <prefix>/share/qlxw/qlxw-completion.ps1
# The command itself says what may come at the word completed (qlxw __complete, from its own tables).
Register-ArgumentCompleter -Native -CommandName qlxw, qlxw.exe -ScriptBlock {
    param($wordToComplete, $commandAst, $cursorPosition)
    # The words before the one completed, the command's name left out. The completed word goes last, as
    # PowerShell before 7.3 drops an empty argument and qlxw then takes it as empty.
    $words = @($commandAst.CommandElements | Select-Object -Skip 1 |
        Where-Object { $_.Extent.EndOffset -lt $cursorPosition } | ForEach-Object { $_.Extent.Text })
    $answer = @(& qlxw __complete $words.Count @words $wordToComplete 2>$null)
    $offers = @($answer | Select-Object -Skip 1 | ForEach-Object {
        [System.Management.Automation.CompletionResult]::new($_, $_, 'ParameterValue', $_) })
    if ($answer[0] -eq 'words') {
        $offers
    }
    # Otherwise nothing: PowerShell offers paths (folders among the files), as for any native command.
}
