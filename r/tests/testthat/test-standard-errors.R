# Standard errors from R: the checks of their arguments, the columns and
# tables they add to an equating (and nothing else), the same results on any
# number of threads and under mclapply, and est2pl's published linking
# standard errors from its files.

example_inputs <- function() {
  folder <- dirname(example_control())
  suppressWarnings(list(
    x_items = read_items(file.path(folder, "formx.par")), y_items = read_items(file.path(folder, "formy.par")),
    x_grid = read_grid(file.path(folder, "group1.qd")), y_grid = read_grid(file.path(folder, "group2.qd")),
    scale = read_scale_table(file.path(folder, "formy.scl"))))
}

# A made-up covariance of a form's estimates: one block per item, small
# variances and a negative covariance of its first two parameters.
block_covariance <- function(items, variance = 0.002) {
  sizes <- vapply(seq_len(nrow(items)), function(i) length(parameter_names(items[i, ], estimated = TRUE)), 1L)
  v <- matrix(0, sum(sizes), sum(sizes))
  at <- 0L
  for (k in sizes) {
    block <- diag(variance, k)
    block[1L, 2L] <- block[2L, 1L] <- -variance / 4
    v[at + seq_len(k), at + seq_len(k)] <- block
    at <- at + k
  }
  v
}

# Rows of (changes to equate()'s arguments, a pattern of the irteq_error's message).
test_that("bad standard error arguments are irteq_errors naming the argument", {
  small <- list(
    x_items = items(c("L3", "SN"), list(0:1, 0:2), list(c(1.7, 1, 0, 0.2), c(1, -1, 1))),
    y_items = items(c("L3", "MU"), list(0:1, 0:2), list(c(1.7, 1, 0, 0.2), c(1.7, 1, 0, 0, 0.5, -0.5))),
    x_grid = normal_grid(), y_grid = normal_grid(),
    scale = list(table = data.frame(raw = 0:3, scale = 0:3, rounded = 0:3), scale_min = 0, scale_max = 3, w2 = 0.5))
  v <- block_covariance(small$x_items)
  changed <- function(i, j, value, m = v) {
    m[i, j] <- value
    m
  }
  cases <- list(
    list(list(se = NA), "^se must be TRUE or FALSE"),
    list(list(draws = -1), "^draws must be a whole number of 0 or more, not -1$"),
    list(list(draws = 2.5), "^draws must be a whole number of 0 or more, not 2.5$"),
    list(list(seed = -3), "^seed must be a whole number from 0 to 2\\^53, not -3$"),
    list(list(seed = "a"), "^seed must be a whole number from 0 to 2\\^53, not 'a'$"),
    list(list(se = TRUE), "^se = TRUE needs the covariance of the item parameter estimates: give x_cov, y_cov"),
    list(list(draws = 10), "^draws > 0 needs the covariance"),
    list(list(x_cov = "a"), "^x_cov must be a numeric matrix \\(the covariance of x_items's estimates\\)"),
    list(list(x_cov = matrix(0, 2, 3)), "^x_cov must be a square matrix, not 2 x 3$"),
    list(list(x_cov = structure(v, guessing = "log")),
         "^attr\\(x_cov, \"guessing\"\\) must be \"probability\" or \"logit\" .*, not 'log'$"),
    list(list(y_cov = v), "^y_cov: the covariance is 6 x 6, but its form's 2 items have 8 parameters without D$"),
    list(list(x_cov = changed(2, 1, NA)), "^x_cov\\[2, 1\\] is NA, not a number$"),
    list(list(x_cov = changed(3, 3, Inf)), "^x_cov\\[3, 3\\] is Inf, not a finite number$"),
    list(list(x_cov = changed(5, 5, -0.1)),
         "^x_cov: row 5 \\(item 2, number 2, b\\(1\\)\\): the variance -0.1 must be a finite number, 0 or more$"),
    list(list(x_cov = changed(4, 1, 1e-4)),
         "^x_cov: row 4 \\(item 2, number 2, a\\), column 1 \\(item 1, number 1, a\\): 0.0001, but row 1 .* holds 0")
  )
  expect_s3_class(do.call(equate, c(small, list(x_cov = v, se = TRUE))), "irteq_equating")
  for (case in cases) {
    expect_error(do.call(equate, utils::modifyList(small, case[[1]])), case[[2]], class = "irteq_error_invalid_input")
  }
  files <- read_control(example_control())
  files[c("new_cov", "old_cov")] <- ""
  folder <- tempfile("without")
  dir.create(folder)
  without <- write_control(files, file.path(folder, "control.txt"))
  expect_error(equate_files(without, se = TRUE), "names neither new_cov nor old_cov", class = "irteq_error_control_file")
  expect_error(equate_files(example_control(), draws = 1, seed = 2^60), "seed must be a whole number",
               class = "irteq_error_invalid_input")
})

test_that("standard errors add their columns and tables, the same on any number of threads", {
  inputs <- example_inputs()
  x_cov <- block_covariance(inputs$x_items)
  run <- function(...) suppressWarnings(do.call(equate, c(inputs, list(x_cov = x_cov, ...))))
  plain <- suppressWarnings(do.call(equate, inputs))
  eq <- run(se = TRUE, draws = 20)
  expect_identical(run(se = TRUE, draws = 20, threads = 2), eq, ignore_attr = "run")
  expect_false(identical(run(draws = 20, seed = 2)$true_score$draws_se, eq$true_score$draws_se))

  added <- c("se", "scale_se", "draws_se", "draws_lower", "draws_upper", "scale_draws_se", "scale_draws_lower",
             "scale_draws_upper")
  for (frame in c("true_score", "observed_score")) {
    expect_identical(names(eq[[frame]]), c(names(plain[[frame]]), added))
    expect_true(all(is.finite(unlist(eq[[frame]][added])) & unlist(eq[[frame]][c("se", "draws_se")]) >= 0))
  }
  # Without what the standard errors added, the equating as it is without them.
  bare <- eq
  bare$true_score <- bare$true_score[names(plain$true_score)]
  bare$observed_score <- bare$observed_score[names(plain$observed_score)]
  bare[c("standard_errors", "draws")] <- NULL
  expect_identical(bare, plain, ignore_attr = "run")
  expect_identical(eq$draws$draws + eq$draws$redraws >= 20L, TRUE)

  # The long table holds the columns, true before observed, raw before scale.
  e <- eq$standard_errors
  expect_identical(names(e), c("raw", "equating", "metric", "delta_se", "draws_se", "draws_lower", "draws_upper"))
  expect_identical(e$delta_se, with(eq, c(true_score$se, true_score$scale_se, observed_score$se,
                                           observed_score$scale_se)))
  expect_identical(e$draws_upper[e$equating == "observed" & e$metric == "scale"], eq$observed_score$scale_draws_upper)
  delta_only <- run(se = TRUE)
  expect_null(delta_only$draws)
  expect_true(all(is.na(delta_only$standard_errors$draws_se)))
  expect_identical(delta_only$standard_errors$delta_se, e$delta_se)

  expect_output(print(eq), "Standard errors \\(delta method, 20 parametric draws\\)")
  expect_output(print(summary(eq)),
                "Standard errors over the form X raw scores above the chance score and below the top score \\(20")
  file <- tempfile(fileext = ".png")
  if (capabilities("cairo")) grDevices::png(file, type = "cairo") else grDevices::pdf(NULL)
  on.exit(grDevices::dev.off())
  for (metric in c("raw", "scale")) {
    expect_silent(plot(eq, which = c("se", "differences"), metric = metric))
    expect_silent(plot(delta_only, which = c("se", "differences"), metric = metric))
  }
  expect_error(plot(plain, which = "se"), "x has no standard errors", class = "irteq_error")
})

test_that("equatings with draws on two threads under mclapply equal a serial loop", {
  skip_on_os("windows")
  inputs <- example_inputs()
  x_cov <- block_covariance(inputs$x_items)
  y_cov <- block_covariance(inputs$y_items, 0.001)
  run <- function(seed, threads) {
    suppressWarnings(do.call(equate, c(inputs, list(x_cov = x_cov, y_cov = y_cov, se = TRUE, draws = 8,
                                                     seed = seed, threads = threads))))
  }
  serial <- lapply(1:4, run, threads = 1L)
  expect_identical(parallel::mclapply(1:4, run, threads = 2L, mc.cores = 2L), serial, ignore_attr = "run")
})

# And with draws, the console program's standard_errors.csv to the last bit.
test_that("est2pl's linking gives the published delta-method standard errors of A and B", {
  folder <- validation_example("est2pl")
  expected <- utils::read.csv(file.path(folder, "expected.csv"))
  control <- file.path(dirname(copy_case(folder)), "control-haebara.txt")
  eq <- suppressWarnings(equate_files(control, se = TRUE, draws = 20, seed = 7))
  m <- eq$linking$methods
  for (method in expected$method) {
    row <- expected[expected$method == method, ]
    at <- m$method == method
    expect_lt(abs(m$se_A[at] / row$se_A - 1), 0.01, label = paste(method, "se_A"))
    expect_lt(abs(m$se_B[at] / row$se_B - 1), 0.01, label = paste(method, "se_B"))
  }
  applied <- eq$linking$standard_errors
  expect_identical(applied$delta_se, c(m$se_A[m$method == "haebara"], m$se_B[m$method == "haebara"]))
  expect_output(print(eq$linking), "se_A")

  skip_if(!nzchar(binary()), "IRTEQ_BINARY is not set")
  csv <- file.path(dirname(control), "csv")
  status <- system2(binary(), c(shQuote(control), "--csv", shQuote(csv), "--se", "--draws", "20", "--seed", "7"),
                    stdout = FALSE, stderr = FALSE)
  expect_identical(status, 0L)
  expect_identical(read_numbers(file.path(csv, "standard_errors.csv"), c("equating", "metric")), eq$standard_errors)
})

# A linked run from files and from objects: equate() with the linking gives
# equate_files()'s result, standard errors of both routes included, and
# link() with the covariances its every method's se_A and se_B (linking.csv's).
check_linked_standard_errors <- function(control, label) {
  files <- read_control(control)
  common <- read_common_items(files[["common_items"]])
  inputs <- read_inputs(files)
  covariances <- list(x_cov = read_covariance(files[["new_cov"]], inputs$x_items),
                      y_cov = read_covariance(files[["old_cov"]], inputs$y_items))
  lk <- link(inputs$x_items, inputs$y_items, common$pairs, common$method, inputs$x_grid, inputs$y_grid,
             common$symmetric, x_cov = covariances$x_cov, y_cov = covariances$y_cov)
  from_files <- equate_files(control, se = TRUE, draws = 12, seed = 3)
  eq <- do.call(equate, c(inputs, list(linking = lk, se = TRUE, draws = 12, seed = 3), covariances))
  expect_identical(eq, from_files, label = label, ignore_attr = "run")
  expect_identical(lk$methods, from_files$linking$methods, label = label)
  expect_true(all(is.finite(eq$true_score$se)), label = label)

  # Items after linking with their own estimates' covariance would leave the linking's error out.
  expect_error(equate(lk$x_items, inputs$y_items, lk$x_grid, inputs$y_grid, inputs$scale, x_cov = covariances$x_cov,
                      se = TRUE), "pass form X's own items and grid with the linking", class = "irteq_error")
  if (nzchar(binary())) {
    csv <- file.path(dirname(control), "csv")
    status <- system2(binary(), c(shQuote(control), "--csv", shQuote(csv), "--se"), stdout = FALSE, stderr = FALSE)
    expect_identical(status, 0L, label = label)
    console <- read_numbers(file.path(csv, "linking.csv"), "method")
    expect_identical(console[c("se_A", "se_B")], lk$methods[c("se_A", "se_B")], label = label)
  }
}

test_that("a linked run's standard errors are the same from objects and from files, on est2pl", {
  folder <- validation_example("est2pl")
  copied <- dirname(copy_case(folder))
  for (control in c("control-haebara.txt", "control-mean-mean.txt")) {
    check_linked_standard_errors(file.path(copied, control), control)
  }
})

test_that("a linked run of every model has the same standard errors from objects and from files, by every method", {
  for (method in c("mean-mean", "mean-sigma", "haebara", "stocking-lord")) {
    check_linked_standard_errors(write_mixed_run(tempfile("mixed"), method, covariance = block_covariance), method)
  }
})

# Form X equated to itself: the default root leaves its true score
# equivalents about 1e-6 off its raw scores, a tight one 1e-12; the draws
# re-equate with the run's tolerance, and observed score equating knows none.
test_that("root_tolerance reaches the roots of the equating and of the draws, and nothing else", {
  inputs <- example_inputs()
  x <- inputs$x_items
  self <- list(x_items = x, y_items = x, x_grid = inputs$x_grid, y_grid = inputs$x_grid, w2 = 0.5,
               x_cov = block_covariance(x), draws = 3L)
  default <- do.call(equate, self)
  tight <- do.call(equate, c(self, root_tolerance = 1e-14))
  off <- function(eq) max(abs(eq$true_score$equivalent - eq$true_score$raw))
  expect_gt(off(default), 1e-9)
  expect_lt(off(tight), 1e-12)
  expect_false(identical(tight$true_score$draws_se, default$true_score$draws_se))
  expect_identical(tight$observed_score, default$observed_score)
  from_files <- equate_files(example_control(), root_tolerance = 1e-14)
  expect_identical(from_files, do.call(equate, c(inputs, root_tolerance = 1e-14)), ignore_attr = "run")
  expect_false(identical(from_files$true_score, equate_files(example_control())$true_score))
})

# Ten L3 items with c near 0.04 and standard errors of 0.03: drawn as c, a
# c below 0 spoils many draws and the warning names the items; drawn as
# logit(c) none, and the delta method is the same in either metric.
test_that("a covariance of logit(c) keeps drawn c inside (0, 1), and the delta method sees c's", {
  c_hat <- 0.03 + 0.002 * (0:9)
  form <- items(rep("L3", 10), rep(list(0:1), 10),
                lapply(0:9, function(i) c(1.7, 0.8 + 0.05 * i, -1.5 + 0.3 * i, c_hat[i + 1])))
  scale <- list(table = data.frame(raw = 0:10, scale = 0:10, rounded = 0:10), scale_min = 0, scale_max = 10,
                w2 = 0.5)
  v_c <- diag(rep(c(0.05, 0.08, 0.03)^2, 10))
  slope <- rep(1, 30)
  slope[3L * (1:10)] <- c_hat * (1 - c_hat)
  v_logit <- structure(v_c / outer(slope, slope), guessing = "logit")
  run <- function(v, ...) equate(form, form, normal_grid(), normal_grid(), scale, x_cov = v, ...)
  expect_equal(run(v_logit, se = TRUE)$standard_errors$delta_se, run(v_c, se = TRUE)$standard_errors$delta_se,
               tolerance = 1e-12)
  expect_identical(run(v_logit, draws = 200, seed = 3)$draws$redraws, 0L)
  expect_warning(spoiled <- run(v_c, draws = 200, seed = 3),
                 "^parametric draws: \\d+ of \\d+ drawn again .*; invalid most often: form X item \\d+ \\d+, ")
  invalid <- spoiled$draws$invalid_items
  expect_identical(names(invalid), c("form", "item", "number", "label", "count"))
  expect_true(all(invalid$form == "X") && !is.unsorted(rev(invalid$count)) && sum(invalid$count) >= spoiled$draws$redraws)
})
