# The generated cases and the console program that gives their reference
# values; both come from the environment (make r-check sets them).
cases_dir <- function() Sys.getenv("IRTEQ_CASES_DIR")
binary <- function() Sys.getenv("IRTEQ_BINARY")

example_control <- function() system.file("examples", "spring-grade7", "control.txt", package = "irteq")

# A copy of a case's inputs in a fresh folder: runs write their report beside the control file.
copy_case <- function(case) {
  folder <- tempfile(basename(case))
  dir.create(folder)
  files <- list.files(case, full.names = TRUE)
  file.copy(files[!dir.exists(files)], folder)
  file.path(folder, "control.txt")
}

# The R warnings of an expression, with its value.
with_warnings <- function(expr) {
  messages <- character()
  value <- withCallingHandlers(expr, warning = function(w) {
    messages <<- c(messages, conditionMessage(w))
    invokeRestart("muffleWarning")
  })
  list(value = value, warnings = messages)
}

# A CSV file's numbers read by a correctly rounded parser (R's own is not, for some 17-digit values).
read_numbers <- function(file, text_columns = character()) {
  d <- utils::read.csv(file, colClasses = "character")
  for (column in setdiff(names(d), text_columns)) d[[column]] <- irteq:::.parse_numbers(d[[column]])
  d
}
