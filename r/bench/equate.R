# equate() from R on the largest run: two 200-item mixed-format forms of 1000
# score points each and two 100-point grids, beside the C++ library's equate()
# on the same input (written to files for r/bench/equate_timer.cpp). Prints both
# medians. Each round times a few runs in a new R process and a new timer
# process in turn, so that both see the same load and as many memory layouts.
# Then the standard errors of the same run (delta method, and 100 parametric
# draws on one thread) as multiples of one equate() timed beside them.
# Usage: Rscript equate.R SCRATCH_FOLDER EQUATE_TIMER
#        Rscript equate.R --runs N   (one R round: prints N times in seconds)
library(irteq)
args <- commandArgs(trailingOnly = TRUE)

# 50 L3, 50 SL and 51 SN items of 7 categories, 25 BN and 24 MU items of 8:
# raw scores 0 to 999.
form <- function(seed) {
  set.seed(seed)
  u <- stats::runif
  l3 <- lapply(1:50, function(i) c(1.7, u(1, 0.6, 2), u(1, -2.5, 2.5), u(1, 0.1, 0.25)))
  thresholds <- function(m) sort(u(m - 1, -2.5, 2.5))
  sl <- lapply(1:50, function(i) c(1.7, u(1, 0.6, 2), thresholds(7)))
  sn <- lapply(1:51, function(i) c(u(1, 0.5, 1.5), thresholds(7)))
  bn <- lapply(1:25, function(i) c(1.7, sort(u(8, -2, 2)), u(8, -1, 1)))
  mu <- lapply(1:24, function(i) c(1.7, u(1, 0.6, 1.5), u(1, -1, 1), 0, sort(u(7, -2, 2), decreasing = TRUE)))
  type <- rep(c("L3", "SL", "SN", "BN", "MU"), c(50, 50, 51, 25, 24))
  scores <- lapply(type, function(t) switch(t, L3 = 0:1, SL = , SN = 0:6, 0:7))
  items(type, scores, c(l3, sl, sn, bn, mu))
}
x_items <- form(41002)
y_items <- form(41001)
x_grid <- normal_grid(0.1, points = 100)
y_grid <- normal_grid(0, points = 100)
scale <- list(table = data.frame(raw = 0:999, scale = 100 + (0:999) / 10, rounded = round(100 + (0:999) / 10)),
              scale_min = 100, scale_max = 200, w2 = 0.5)

run_r <- function() suppressWarnings(equate(x_items, y_items, x_grid, y_grid, scale))
eq <- run_r()

if (args[[1L]] == "--runs") {
  for (i in seq_len(as.integer(args[[2L]]))) {
    start <- Sys.time()
    run_r()
    cat(as.double(Sys.time() - start, units = "secs"), "\n")
  }
  quit(save = "no")
}

folder <- args[[1L]]
timer <- args[[2L]]
dir.create(folder, showWarnings = FALSE, recursive = TRUE)
write_items(x_items, file.path(folder, "formx.par"))
write_items(y_items, file.path(folder, "formy.par"))
write_grid(x_grid, file.path(folder, "group1.qd"))
write_grid(y_grid, file.path(folder, "group2.qd"))
write_scale_table(scale, file.path(folder, "formy.scl"))
control <- write_control(c(output = "report.txt", old_para = "formy.par", old_quad = "group2.qd",
                           raw2scale = "formy.scl", new_para = "formx.par", new_quad = "group1.qd"),
                         file.path(folder, "control.txt"))
stopifnot(identical(suppressWarnings(equate_files(control)), eq))

rounds <- 7L
runs <- "3"
script <- sub("^--file=", "", grep("^--file=", commandArgs(), value = TRUE))
rscript <- file.path(R.home("bin"), "Rscript")
r_seconds <- cpp_seconds <- numeric()
for (round in seq_len(rounds)) {
  r_seconds <- c(r_seconds, as.numeric(system2(rscript, c(shQuote(script), "--runs", runs), stdout = TRUE)))
  cpp_seconds <- c(cpp_seconds, as.numeric(sub(" .*", "", system2(timer, c(shQuote(control), runs), stdout = TRUE))))
}
r_median <- stats::median(r_seconds)
cpp_median <- stats::median(cpp_seconds)
cat(sprintf("Largest run: %d form X and %d form Y score points, 100-point grids, %d root finder warnings\n",
            nrow(eq$true_score), sum(eq$distributions$form == "Y"), nrow(eq$warnings)))
cat(sprintf("R   equate(): median %.1f ms over %d runs\n", 1000 * r_median, length(r_seconds)))
cat(sprintf("C++ equate(): median %.1f ms over %d runs\n", 1000 * cpp_median, length(cpp_seconds)))
cat(sprintf("R / C++: %.3f\n", r_median / cpp_median))

# A made-up covariance of a form's estimates, one variance per parameter:
# 0.002, but 0.0002 for an "L3" item's c and, for ordered thresholds ("SN" and
# "SL" b's), small beside their gaps, so that few draws are drawn again; an
# "MU" item's d(1), which the model does not identify, held fixed.
covariance <- function(items) {
  variances <- unlist(lapply(seq_along(items$type), function(i) {
    p <- items$parameters[[i]]
    switch(items$type[i],
      L3 = c(0.002, 0.002, 0.0002),
      SN = , SL = {
        b <- p[(length(p) - items$categories[i] + 2L):length(p)]
        c(0.002, rep(min(0.002, (min(diff(b)) / 6)^2), length(b)))
      },
      MU = c(0.002, 0.002, 0, rep(0.002, length(p) - 4L)),
      rep(0.002, length(p) - 1L))
  }))
  diag(variances)
}
x_cov <- covariance(x_items)
y_cov <- covariance(y_items)
run_se <- function(...) {
  suppressWarnings(equate(x_items, y_items, x_grid, y_grid, scale, x_cov = x_cov, y_cov = y_cov, ...))
}
seconds <- function(f, runs) stats::median(vapply(seq_len(runs), function(i) system.time(f())[["elapsed"]], 0))
one <- seconds(run_r, 5L)
delta <- seconds(function() run_se(se = TRUE), 3L)
drawn <- seconds(function() run_se(draws = 100L), 1L)
cat(sprintf("Standard errors (%d x %d and %d x %d covariances), one thread, as multiples of one equate() (%.1f ms):\n",
            nrow(x_cov), nrow(x_cov), nrow(y_cov), nrow(y_cov), 1000 * one))
cat(sprintf("  equate(se = TRUE):     %.2f\n", delta / one))
cat(sprintf("  equate(draws = 100):   %.1f\n", drawn / one))
