' vbsrun must exit with a failure status when the script raises an uncaught error.
ok True, "runs before the error"
x = 1 / 0
