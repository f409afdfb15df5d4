# The generated cases and the console program that gives their reference
# values; both come from the environment (make r-check sets them).
cases_dir <- function() Sys.getenv("IRTEQ_CASES_DIR")
binary <- function() Sys.getenv("IRTEQ_BINARY")

# A published example of the repository's validation/ (kb04, est2pl), which the package installs.
validation_example <- function(name) {
  folder <- system.file("validation", name, package = "irteq")
  if (!nzchar(folder)) stop("the package was installed without validation/", name, "; install it with make r-install")
  folder
}

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

# The console program's tables (--tables, or cut scores) from its CSV folder in
# the types of equate()'s tables: empty text fields NA, groups integers.
read_tables <- function(folder) {
  names <- c("conversion", "eap", "csem", "reliability", "classification")
  files <- file.path(folder, paste0(names, ".csv"))
  text <- c("form", "equating", "metric", "true_level", "observed_level")
  tables <- lapply(stats::setNames(files[file.exists(files)], names[file.exists(files)]), function(file) {
    d <- read_numbers(file, intersect(text, strsplit(readLines(file, n = 1L), ",")[[1L]]))
    for (column in intersect(text, names(d))) d[[column]][d[[column]] == ""] <- NA_character_
    if (!is.null(d$group)) d$group <- as.integer(d$group)
    d
  })
  tables
}

# The inputs a control file's records name, as equate()'s arguments.
read_inputs <- function(files) {
  list(x_items = read_items(files[["new_para"]]), y_items = read_items(files[["old_para"]]),
       x_grid = read_grid(files[["new_quad"]]), y_grid = read_grid(files[["old_quad"]]),
       scale = read_scale_table(files[["raw2scale"]]))
}

# items' parameters on the scale A * theta + B, by the transformation link() applies.
on_scale <- function(items, A, B) {
  items$parameters <- Map(function(type, p) {
    n <- length(p)
    switch(type,
      L3 = c(p[1], p[2] / A, A * p[3] + B, p[4]),
      SN = c(p[1] / A, A * p[-1] + B),
      SL = c(p[1:2] / c(1, A), A * p[-(1:2)] + B),
      MU = c(p[1:2] / c(1, A), A * p[3] + B, A * p[4:n]),
      BN = {
        a <- p[2:((n + 1) / 2)]
        c(p[1], a / A, p[((n + 3) / 2):n] - a * B / A)
      })
  }, items$type, items$parameters)
  items
}

# Form Y of every model, category scores not 0, ..., m - 1; form X is form Y on
# the scale theta_X = (theta_Y + 0.4) / 1.3, numbered from 11, with one item of its own.
mixed_y <- function() {
  items(c("L3", "SN", "SL", "BN", "MU", "L3"), list(0:1, c(1, 2, 4, 6), 0:3, c(0, 1, 3), c(0, 2, 4, 5), 0:1),
        list(c(1.7, 1.1, -0.6, 0.2), c(0.9, -1, 0.2, 1.1), c(1.7, 0.8, -0.5, 0.3, 1.2),
             c(1.7, -0.8, 0.1, 0.7, 0.5, 0.2, -0.7), c(1.7, 0.7, 0.2, 0, 0.8, -0.1, -0.7), c(1.7, 1.3, 0.9, 0.15)))
}
mixed_x <- function() {
  x <- on_scale(mixed_y(), 1 / 1.3, 0.4 / 1.3)
  x$item <- x$item + 10L
  rbind(x, items("L3", list(0:1), list(c(1.7, 0.9, 0.3, 0.2)), item = 99L))
}

# mixed_x() with two anchors drifted: the locations of items 11 and 16 (both "L3") 0.5 higher.
drifted_x <- function() {
  x <- mixed_x()
  x$parameters[c(1, 6)] <- lapply(x$parameters[c(1, 6)], function(p) p + c(0, 0, 0.5, 0))
  x
}

# The console program's common_items.csv in the types of link()'s anchors.
read_anchors <- function(file) {
  anchors <- read_numbers(file, c("model", "x_label", "y_label"))
  integers <- c("x_item", "y_item", "wald_df", "removed_round")
  anchors[integers] <- lapply(anchors[integers], as.integer)
  anchors$flagged <- anchors$flagged == 1
  anchors
}

# The mixed forms as the files of a run linked through their six common items
# by method (screened by screen and cut), in a new folder: the control file's
# path. covariance(items), when given, gives the forms' covariance files too.
write_mixed_run <- function(folder, method, symmetric = FALSE, covariance = NULL, x = mixed_x(), screen = "none",
                            cut = NULL) {
  dir.create(folder)
  y <- mixed_y()
  write_items(x, file.path(folder, "x.par"))
  write_items(y, file.path(folder, "y.par"))
  write_grid(normal_grid(0.2, 0.9), file.path(folder, "g1.qd"))
  write_grid(normal_grid(), file.path(folder, "g2.qd"))
  points <- sum(vapply(y$scores, min, 0)):sum(vapply(y$scores, max, 0))
  scale <- 200 + 3 * points
  write_scale_table(list(table = data.frame(raw = points, scale = scale, rounded = scale), scale_min = min(scale),
                         scale_max = max(scale), w2 = 0.4), file.path(folder, "y.scl"))
  write_common_items(data.frame(x_item = 11:16, y_item = 1:6), file.path(folder, "common.txt"), method,
                     symmetric = symmetric, screen = screen, cut = cut)
  files <- c(output = "out.txt", old_para = "y.par", old_quad = "g2.qd", raw2scale = "y.scl", new_para = "x.par",
             new_quad = "g1.qd", common_items = "common.txt")
  if (!is.null(covariance)) {
    write_covariance(covariance(x), x, file.path(folder, "x.cov"))
    write_covariance(covariance(y), y, file.path(folder, "y.cov"))
    files <- c(files, new_cov = "x.cov", old_cov = "y.cov")
  }
  write_control(files, file.path(folder, "control.txt"))
}
